#include "host/gl_presenter.h"

#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLShaderProgram>
#include <QOpenGLVertexArrayObject>
#include <QWindow>
#include <algorithm>

#include "host/presenter_choice.h"

namespace fluxo {
namespace {

// A quad over the whole window, from the vertex number alone: no buffers.
constexpr char kVertexShader[] = R"(
void main() {
  gl_Position = vec4(float(gl_VertexID & 1) * 2.0 - 1.0, float((gl_VertexID >> 1) & 1) * 2.0 - 1.0, 0.0, 1.0);
}
)";

// Integer indices and fetches of whole texels: an index reaches exactly its
// entry, and the entry's 8-bit channels reach the window unchanged.
constexpr char kFragmentShader[] = R"(
uniform highp usampler2D indices;
uniform highp sampler2D colours;
uniform highp vec2 framePerWindow;  // frame pixels per window pixel
uniform highp float windowHeight;
out highp vec4 colour;
void main() {
  // The window's rows count from the bottom, the frame's from the top.
  highp vec2 fromTop = vec2(gl_FragCoord.x, windowHeight - gl_FragCoord.y);
  highp ivec2 at = min(ivec2(fromTop * framePerWindow), textureSize(indices, 0) - 1);
  highp uint index = texelFetch(indices, at, 0).r;
  colour = texelFetch(colours, ivec2(int(index), 0), 0);
}
)";

constexpr GLint kIndexUnit = 0;
constexpr GLint kColourUnit = 1;

void MakeTexture(QOpenGLExtraFunctions& gl, GLuint texture) {
  gl.glBindTexture(GL_TEXTURE_2D, texture);
  // Integer textures are only complete with nearest sampling and no mipmaps.
  gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

void UploadColours(QOpenGLExtraFunctions& gl, GLuint texture, const uint32_t (&colours)[gdi::kSystemPaletteSize]) {
  // 0xFFRRGGBB words to bytes in the order GL reads on every processor.
  uint8_t rgba[gdi::kSystemPaletteSize][4];
  for (int i = 0; i < gdi::kSystemPaletteSize; ++i) {
    rgba[i][0] = static_cast<uint8_t>(colours[i] >> 16);
    rgba[i][1] = static_cast<uint8_t>(colours[i] >> 8);
    rgba[i][2] = static_cast<uint8_t>(colours[i]);
    rgba[i][3] = 0xFF;
  }
  gl.glBindTexture(GL_TEXTURE_2D, texture);
  gl.glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, gdi::kSystemPaletteSize, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

}  // namespace

struct GlPresenter::Objects {
  std::unique_ptr<QOpenGLContext> context;  // first in, last out: the others live in it
  QOpenGLShaderProgram program;
  QOpenGLVertexArrayObject vertexArray;
  GLuint textures[2] = {};  // the indices, the colour table
  GLint framePerWindow = -1;
  GLint windowHeight = -1;

  QOpenGLExtraFunctions& Gl() { return *context->extraFunctions(); }
};

std::unique_ptr<GlPresenter> GlPresenter::Create(QWindow& window, bool software, QString& failure) {
  if (!window.handle() || window.surfaceType() != QSurface::OpenGLSurface) {
    failure = QStringLiteral("the window was not made for OpenGL");
    return nullptr;
  }
  auto objects = std::make_unique<Objects>();
  objects->context = std::make_unique<QOpenGLContext>();
  objects->context->setFormat(window.requestedFormat());
  if (!objects->context->create()) {
    failure = QStringLiteral("no OpenGL context");
    return nullptr;
  }
  if (!objects->context->makeCurrent(&window)) {
    failure = QStringLiteral("the OpenGL context does not draw on the window");
    return nullptr;
  }
  const QSurfaceFormat format = objects->context->format();
  if (format.majorVersion() < 3) {
    // Integer textures and texelFetch came with 3.0 (desktop and ES alike).
    failure = QStringLiteral("OpenGL %1.%2 is older than 3.0").arg(format.majorVersion()).arg(format.minorVersion());
    return nullptr;
  }
  QString renderer =
      QString::fromLatin1(reinterpret_cast<const char*>(objects->Gl().glGetString(GL_RENDERER)));
  if (!software && IsSoftwareRenderer(renderer.toStdString())) {
    failure = QStringLiteral("the renderer, %1, draws with the processor").arg(renderer);
    return nullptr;
  }
  std::unique_ptr<GlPresenter> presenter(new GlPresenter(window, std::move(objects), std::move(renderer)));
  if (!presenter->Build(failure)) return nullptr;
  return presenter;
}

GlPresenter::GlPresenter(QWindow& window, std::unique_ptr<Objects> objects, QString renderer)
    : window_(window), gl_(std::move(objects)), renderer_(std::move(renderer)) {}

GlPresenter::~GlPresenter() {
  if (gl_->context->makeCurrent(&window_)) gl_->Gl().glDeleteTextures(2, gl_->textures);
}

bool GlPresenter::Build(QString& failure) {
  QOpenGLExtraFunctions& gl = gl_->Gl();
  const QByteArray version = gl_->context->isOpenGLES() ? "#version 300 es\n" : "#version 130\n";
  QOpenGLShaderProgram& program = gl_->program;
  if (!program.addShaderFromSourceCode(QOpenGLShader::Vertex, version + kVertexShader) ||
      !program.addShaderFromSourceCode(QOpenGLShader::Fragment, version + kFragmentShader) || !program.link()) {
    failure = QStringLiteral("the shader does not build: ") + program.log().trimmed();
    return false;
  }
  program.bind();
  program.setUniformValue("indices", kIndexUnit);
  program.setUniformValue("colours", kColourUnit);
  gl_->framePerWindow = program.uniformLocation("framePerWindow");
  gl_->windowHeight = program.uniformLocation("windowHeight");
  // Core profiles draw only with a vertex array bound, even an empty one.
  gl_->vertexArray.create();

  gl.glGenTextures(2, gl_->textures);
  MakeTexture(gl, gl_->textures[kIndexUnit]);
  MakeTexture(gl, gl_->textures[kColourUnit]);
  gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, gdi::kSystemPaletteSize, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  gl.glDisable(GL_BLEND);
  gl.glDisable(GL_DITHER);
  gl.glDisable(GL_DEPTH_TEST);
  if (gl.glGetError() != GL_NO_ERROR) {
    failure = QStringLiteral("the textures cannot be made");
    return false;
  }
  return true;
}

void GlPresenter::Upload(const uint8_t* pixels, int width, int height, const std::vector<gdi::Rect>& rects,
                         const uint32_t (&colours)[gdi::kSystemPaletteSize]) {
  if (width <= 0 || height <= 0 || !gl_->context->makeCurrent(&window_)) return;
  QOpenGLExtraFunctions& gl = gl_->Gl();
  // 1 KB: sent with every upload rather than compared again with what the
  // frame presenter has compared already.
  UploadColours(gl, gl_->textures[kColourUnit], colours);
  gl.glBindTexture(GL_TEXTURE_2D, gl_->textures[kIndexUnit]);
  gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  if (QSize(width, height) != frameSize_) {
    gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_R8UI, width, height, 0, GL_RED_INTEGER, GL_UNSIGNED_BYTE, pixels);
    frameSize_ = QSize(width, height);
    return;
  }
  gl.glPixelStorei(GL_UNPACK_ROW_LENGTH, width);
  for (const gdi::Rect& r : rects) {
    const int left = std::max(r.left, 0), top = std::max(r.top, 0);
    const int right = std::min(r.right, width), bottom = std::min(r.bottom, height);
    if (left >= right || top >= bottom) continue;
    gl.glTexSubImage2D(GL_TEXTURE_2D, 0, left, top, right - left, bottom - top, GL_RED_INTEGER, GL_UNSIGNED_BYTE,
                       pixels + static_cast<size_t>(top) * width + left);
  }
  gl.glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

void GlPresenter::ForgetFrame() { frameSize_ = QSize(); }

bool GlPresenter::Present() {
  if (!window_.isExposed() || !gl_->context->makeCurrent(&window_)) return false;
  QOpenGLExtraFunctions& gl = gl_->Gl();
  const QSize viewport = window_.size() * window_.devicePixelRatio();
  gl.glViewport(0, 0, viewport.width(), viewport.height());
  if (frameSize_.isEmpty() || viewport.isEmpty()) {
    gl.glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    gl.glClear(GL_COLOR_BUFFER_BIT);
  } else {
    gl_->program.bind();
    gl.glUniform2f(gl_->framePerWindow, static_cast<float>(frameSize_.width()) / static_cast<float>(viewport.width()),
                   static_cast<float>(frameSize_.height()) / static_cast<float>(viewport.height()));
    gl.glUniform1f(gl_->windowHeight, static_cast<float>(viewport.height()));
    gl.glActiveTexture(GL_TEXTURE0 + kIndexUnit);
    gl.glBindTexture(GL_TEXTURE_2D, gl_->textures[kIndexUnit]);
    gl.glActiveTexture(GL_TEXTURE0 + kColourUnit);
    gl.glBindTexture(GL_TEXTURE_2D, gl_->textures[kColourUnit]);
    gl.glActiveTexture(GL_TEXTURE0);
    QOpenGLVertexArrayObject::Binder vertices(&gl_->vertexArray);
    gl.glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  }
  gl_->context->swapBuffers(&window_);
  ++shown_;
  return true;
}

}  // namespace fluxo
