#pragma once
#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/gdi_types.h"

class QOpenGLContext;
class QWindow;

namespace fluxo {

// Shows palette-index frames on a window through OpenGL. The indices and
// the colour table live in textures and a fragment shader looks each
// pixel's colour up while drawing one quad over the window, so neither the
// processor nor the X server converts or copies a picture. Only changed
// pieces of the frame are uploaded. Used on the window's thread only.
class GlPresenter {
 public:
  // Makes a context on `window`, which must be created with the OpenGL
  // surface type, and builds the shader; null, with `failure` saying why,
  // where either cannot be done, or where the renderer draws with the
  // processor and `software` is false (then before any shader is built).
  static std::unique_ptr<GlPresenter> Create(QWindow& window, bool software, QString& failure);
  ~GlPresenter();
  GlPresenter(const GlPresenter&) = delete;
  GlPresenter& operator=(const GlPresenter&) = delete;

  // What draws: the context's GL_RENDERER.
  const QString& Renderer() const { return renderer_; }
  // Uploads the indices within `rects` of a frame `width` x `height` (all
  // of them when the frame's size is new) and the colour table.
  void Upload(const uint8_t* pixels, int width, int height, const std::vector<gdi::Rect>& rects,
              const uint32_t (&colours)[gdi::kSystemPaletteSize]);
  // There is no frame (yet): the window shows black.
  void ForgetFrame();
  // Draws the picture over the whole window, scaled to the nearest pixel
  // when the frame's size is not the window's, and shows it. False, with
  // nothing shown, while the window is not exposed.
  bool Present();
  // How many pictures Present has shown.
  uint64_t PicturesShown() const { return shown_; }

 private:
  struct Objects;  // the context and what lives in it
  GlPresenter(QWindow& window, std::unique_ptr<Objects> objects, QString renderer);
  bool Build(QString& failure);

  QWindow& window_;
  std::unique_ptr<Objects> gl_;
  QString renderer_;
  QSize frameSize_;  // of the index texture; empty: no frame
  uint64_t shown_ = 0;
};

}  // namespace fluxo
