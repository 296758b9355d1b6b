#include "install/setup_prompts.h"

#include <QMessageBox>
#include <QString>
#include <iostream>

namespace fluxo::install {

void MessageBoxPrompts::Stop(const std::string& title, const std::string& text) {
  QMessageBox::critical(owner_, QString::fromStdString(title), QString::fromStdString(text));
}

void MessageBoxPrompts::Notice(const std::string& title, const std::string& text) {
  QMessageBox::information(owner_, QString::fromStdString(title), QString::fromStdString(text));
}

void StandardErrorPrompts::Stop(const std::string& title, const std::string& text) {
  std::cerr << "fluxo setup: " << title << ": " << text << "\n";
}

void StandardErrorPrompts::Notice(const std::string& title, const std::string& text) {
  std::cerr << "fluxo setup: " << title << ": " << text << "\n";
}

}  // namespace fluxo::install
