#pragma once
#include <string>

class QWidget;

namespace fluxo::install {

// The message boxes of setup. The wizard shows them as Qt message boxes; an
// unattended run writes them out; tests answer them.
class SetupPrompts {
 public:
  virtual ~SetupPrompts() = default;
  // A failure with the stop icon.
  virtual void Stop(const std::string& title, const std::string& text) = 0;
  // A notice with an OK button that waits for the user.
  virtual void Notice(const std::string& title, const std::string& text) = 0;
};

class MessageBoxPrompts : public SetupPrompts {
 public:
  explicit MessageBoxPrompts(QWidget* owner = nullptr) : owner_(owner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }
  void Stop(const std::string& title, const std::string& text) override;
  void Notice(const std::string& title, const std::string& text) override;

 private:
  QWidget* owner_;
};

// Prints every message to standard error and never waits.
class StandardErrorPrompts : public SetupPrompts {
 public:
  void Stop(const std::string& title, const std::string& text) override;
  void Notice(const std::string& title, const std::string& text) override;
};

}  // namespace fluxo::install
