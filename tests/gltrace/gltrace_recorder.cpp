// GL call recorder: stands in front of libGL, forwards every call to the real
// function and writes one text line per call.
//
// Two ways to use it:
// - LD_PRELOAD=<build>/tests/bin/libkovrin_gltrace.so with KOVRIN_GLTRACE set
//   to a file name records a whole program: the start-up and the first
//   KOVRIN_GLTRACE_FRAMES frames (a positive number; default 3). A frame ends
//   at each SDL_GL_SwapWindow, so the calls before the first swap are the
//   start-up followed by the first frame. After the last recorded frame the
//   file is closed and the program runs on unrecorded. Without KOVRIN_GLTRACE
//   the calls are only forwarded. Programs built with sanitizers cannot be
//   preloaded.
// - Linked into a test executable (target kovrin_gltrace_inproc), the same
//   functions take precedence over libGL's within the executable; see
//   gltrace_capture.h for recording into memory.
//
// Line format, fields separated by one space, one line per call in call order:
//   # kovrin-gltrace 1                 first line of a trace file
//   <function> [<arg> ...] [= <result> ...]
//   SWAP <n>                           end of frame n, counted from 1
// Arguments come in the order of the C call:
//   GLfloat             %.9g, which reads back as the very same float
//                       (1.2f is written 1.20000005)
//   GLdouble            %.17g
//   GLint, GLsizei, GLuint: decimal
//   GLenum              its name (GL_TEXTURE_2D, GL_QUADS, GL_ONE) or 0x%04X
//                       when the recorder has no name for it
//   glClear's mask      bit names joined by "|"
//                       (GL_COLOR_BUFFER_BIT|GL_DEPTH_BUFFER_BIT), 0 for none
//   glTexParameteri and glTexEnvi: the value as an enum name for the filter,
//                       wrap and environment-mode parameters, else decimal
//   glTexImage2D pixels px:<8 hex digits>, the FNV-1a digest of the pixel rows
//                       without their padding (format RGB, RGBA, BGR, BGRA,
//                       LUMINANCE, LUMINANCE_ALPHA or ALPHA with
//                       GL_UNSIGNED_BYTE); px:? for other formats; null
//   glGenTextures n, glDeleteTextures n names...: the count, then for
//                       glDeleteTextures the names
// Results follow "=": glGenTextures the names it produced, glGenLists the
// first name of the range.
// Examples:
//   glBindTexture GL_TEXTURE_2D 3
//   glTranslatef 1.20000005 0 0
//   glTexImage2D GL_TEXTURE_2D 0 GL_RGB8 3 2 0 GL_RGB GL_UNSIGNED_BYTE px:6A1C03F2
//   glGenLists 2 = 1
//
// A call is written after it has been forwarded (glGenTextures' names exist
// only then). The programs draw on one thread; the recorder keeps no lock.
#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>
#include <dlfcn.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/gltrace/gltrace_capture.h"
#include "tests/gltrace/gltrace_format.h"

namespace kovrin::test::gltrace {
namespace {

constexpr int kDefaultFrames = 3;

// Where the lines go. Created on the first recorded call and never destroyed,
// so that calls made while the process exits still find it.
class Recorder {
 public:
  static Recorder& Get() {
    static Recorder* recorder = new Recorder();
    return *recorder;
  }

  bool Active() const { return capturing_ || file_ != nullptr; }

  void Emit(const std::string& line) {
    if (capturing_) {
      capture_ += line;
      capture_ += '\n';
    }
    if (file_ != nullptr) {
      std::fputs(line.c_str(), file_);
      std::fputc('\n', file_);
    }
  }

  void EndFrame() {
    if (capturing_) {
      ++captureFrames_;
      capture_ += std::string(kSwap) + " " + std::to_string(captureFrames_) + "\n";
    }
    if (file_ != nullptr) {
      ++fileFrames_;
      std::fprintf(file_, "%s %d\n", std::string(kSwap).c_str(), fileFrames_);
      std::fflush(file_);
      if (fileFrames_ >= frameLimit_) Close();
    }
  }

  void StartCapture() {
    capturing_ = true;
    capture_.clear();
    captureFrames_ = 0;
  }

  std::string StopCapture() {
    capturing_ = false;
    std::string text;
    text.swap(capture_);
    return text;
  }

 private:
  Recorder() {
    const char* path = std::getenv("KOVRIN_GLTRACE");
    if (path == nullptr || *path == '\0') return;
    frameLimit_ = FramesFromEnv();
    file_ = std::fopen(path, "w");
    if (file_ == nullptr) {
      std::fprintf(stderr, "[gltrace] cannot write %s; nothing is recorded\n", path);
      return;
    }
    std::fprintf(file_, "%s\n", std::string(kFileHeader).c_str());
  }

  static int FramesFromEnv() {
    const char* text = std::getenv("KOVRIN_GLTRACE_FRAMES");
    if (text == nullptr || *text == '\0') return kDefaultFrames;
    char* end = nullptr;
    const long frames = std::strtol(text, &end, 10);
    if (*end != '\0' || frames < 1 || frames > 1000000) return kDefaultFrames;
    return static_cast<int>(frames);
  }

  // Closing lets a reader see the whole file while the program still runs.
  void Close() {
    std::fclose(file_);
    file_ = nullptr;
  }

  std::FILE* file_ = nullptr;
  int frameLimit_ = kDefaultFrames;
  int fileFrames_ = 0;
  bool capturing_ = false;
  std::string capture_;
  int captureFrames_ = 0;
};

// Builds one line and hands it to the recorder when it goes out of scope.
// The buffer is reused, so recording allocates only while lines grow.
class Line {
 public:
  explicit Line(const char* function) : active_(Recorder::Get().Active()) {
    if (!active_) return;
    Buffer().assign(function);
  }
  ~Line() {
    if (active_) Recorder::Get().Emit(Buffer());
  }
  Line(const Line&) = delete;
  Line& operator=(const Line&) = delete;

  bool active() const { return active_; }

  Line& F(float v) { return Printf("%.9g", static_cast<double>(v)); }
  Line& D(double v) { return Printf("%.17g", v); }
  Line& I(long long v) { return Printf("%lld", v); }
  Line& U(unsigned long long v) { return Printf("%llu", v); }
  Line& Enum(GLenum v, std::span<const EnumName> table = kGeneralEnums) {
    if (!active_) return *this;
    if (const char* name = FindEnumName(table, v)) return Word(name);
    return Printf("0x%04X", v);
  }
  Line& ClearMask(GLbitfield mask) {
    if (!active_) return *this;
    std::string word;
    GLbitfield rest = mask;
    for (const EnumName& bit : kClearBits) {
      if ((rest & bit.value) == 0) continue;
      if (!word.empty()) word += '|';
      word += bit.name;
      rest &= ~bit.value;
    }
    if (rest != 0) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "0x%04X", rest);
      if (!word.empty()) word += '|';
      word += hex;
    }
    return Word(word.empty() ? "0" : word.c_str());
  }
  Line& Word(const char* word) {
    if (!active_) return *this;
    Buffer() += ' ';
    Buffer() += word;
    return *this;
  }

 private:
  static std::string& Buffer() {
    static std::string* buffer = new std::string();
    return *buffer;
  }

  template <typename... Args>
  Line& Printf(const char* format, Args... args) {
    if (!active_) return *this;
    char text[64];
    std::snprintf(text, sizeof text, format, args...);
    return Word(text);
  }

  bool active_;
};

// The function that the recorded one stands in front of.
template <typename Fn>
Fn Real(const char* name) {
  void* symbol = dlsym(RTLD_NEXT, name);
  if (symbol == nullptr) {
    const char* why = dlerror();
    std::fprintf(stderr, "[gltrace] no %s behind the recorder: %s\n", name, why != nullptr ? why : "not found");
    std::abort();
  }
  Fn fn = nullptr;
  static_assert(sizeof fn == sizeof symbol);
  std::memcpy(&fn, &symbol, sizeof fn);
  return fn;
}

#define GLTRACE_REAL(fn) static const auto real = Real<decltype(&::fn)>(#fn)

bool ValueIsEnum(GLenum pname) {
  switch (pname) {
    case GL_TEXTURE_MAG_FILTER:
    case GL_TEXTURE_MIN_FILTER:
    case GL_TEXTURE_WRAP_S:
    case GL_TEXTURE_WRAP_T:
    case GL_TEXTURE_ENV_MODE:
      return true;
    default:
      return false;
  }
}

int BytesPerPixel(GLenum format) {
  switch (format) {
    case GL_RGB:
    case GL_BGR:
      return 3;
    case GL_RGBA:
    case GL_BGRA:
      return 4;
    case GL_LUMINANCE_ALPHA:
      return 2;
    case GL_LUMINANCE:
    case GL_ALPHA:
      return 1;
    default:
      return 0;
  }
}

// Walks the rows the GL reads under the current unpack state.
void AddPixels(Line& line, GLsizei width, GLsizei height, GLenum format, GLenum type, const void* pixels) {
  if (!line.active()) return;
  if (pixels == nullptr) {
    line.Word("null");
    return;
  }
  const int bytesPerPixel = BytesPerPixel(format);
  if (bytesPerPixel == 0 || type != GL_UNSIGNED_BYTE || width < 0 || height < 0) {
    line.Word("px:?");
    return;
  }
  static const auto getIntegerv = Real<decltype(&::glGetIntegerv)>("glGetIntegerv");
  GLint alignment = 4;
  GLint rowLength = 0;
  getIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  getIntegerv(GL_UNPACK_ROW_LENGTH, &rowLength);
  if (alignment < 1) alignment = 1;
  const std::size_t rowBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(bytesPerPixel);
  const std::size_t rowPixels = static_cast<std::size_t>(rowLength > 0 ? rowLength : width);
  const std::size_t a = static_cast<std::size_t>(alignment);
  const std::size_t stride = (rowPixels * static_cast<std::size_t>(bytesPerPixel) + a - 1) / a * a;
  PixelDigest digest;
  const auto* bytes = static_cast<const uint8_t*>(pixels);
  for (GLsizei row = 0; row < height; ++row) {
    digest.Add(bytes + static_cast<std::size_t>(row) * stride, rowBytes);
  }
  char word[16];
  std::snprintf(word, sizeof word, "px:%08" PRIX32, digest.Value());
  line.Word(word);
}

}  // namespace

void StartCapture() { Recorder::Get().StartCapture(); }
std::string StopCapture() { return Recorder::Get().StopCapture(); }

}  // namespace kovrin::test::gltrace

using kovrin::test::gltrace::Line;
using kovrin::test::gltrace::Real;

extern "C" {

// ---- Frame end ---------------------------------------------------------------
void SDL_GL_SwapWindow(SDL_Window* window) {
  GLTRACE_REAL(SDL_GL_SwapWindow);
  real(window);
  if (kovrin::test::gltrace::Recorder::Get().Active()) kovrin::test::gltrace::Recorder::Get().EndFrame();
}

// ---- State -------------------------------------------------------------------
void glEnable(GLenum cap) {
  GLTRACE_REAL(glEnable);
  real(cap);
  Line("glEnable").Enum(cap);
}
void glDisable(GLenum cap) {
  GLTRACE_REAL(glDisable);
  real(cap);
  Line("glDisable").Enum(cap);
}
void glBlendFunc(GLenum sfactor, GLenum dfactor) {
  GLTRACE_REAL(glBlendFunc);
  real(sfactor, dfactor);
  Line("glBlendFunc")
      .Enum(sfactor, kovrin::test::gltrace::kBlendFactorEnums)
      .Enum(dfactor, kovrin::test::gltrace::kBlendFactorEnums);
}
void glShadeModel(GLenum mode) {
  GLTRACE_REAL(glShadeModel);
  real(mode);
  Line("glShadeModel").Enum(mode);
}
void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
  GLTRACE_REAL(glClearColor);
  real(red, green, blue, alpha);
  Line("glClearColor").F(red).F(green).F(blue).F(alpha);
}
void glClearDepth(GLclampd depth) {
  GLTRACE_REAL(glClearDepth);
  real(depth);
  Line("glClearDepth").D(depth);
}
void glDepthFunc(GLenum func) {
  GLTRACE_REAL(glDepthFunc);
  real(func);
  Line("glDepthFunc").Enum(func);
}
void glHint(GLenum target, GLenum mode) {
  GLTRACE_REAL(glHint);
  real(target, mode);
  Line("glHint").Enum(target).Enum(mode);
}
void glPixelStorei(GLenum pname, GLint param) {
  GLTRACE_REAL(glPixelStorei);
  real(pname, param);
  Line("glPixelStorei").Enum(pname).I(param);
}
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  GLTRACE_REAL(glViewport);
  real(x, y, width, height);
  Line("glViewport").I(x).I(y).I(width).I(height);
}
void glClear(GLbitfield mask) {
  GLTRACE_REAL(glClear);
  real(mask);
  Line("glClear").ClearMask(mask);
}
void glFinish() {
  GLTRACE_REAL(glFinish);
  real();
  Line("glFinish");
}
void glFlush() {
  GLTRACE_REAL(glFlush);
  real();
  Line("glFlush");
}

// ---- Matrices ----------------------------------------------------------------
void glMatrixMode(GLenum mode) {
  GLTRACE_REAL(glMatrixMode);
  real(mode);
  Line("glMatrixMode").Enum(mode);
}
void glLoadIdentity() {
  GLTRACE_REAL(glLoadIdentity);
  real();
  Line("glLoadIdentity");
}
void glPushMatrix() {
  GLTRACE_REAL(glPushMatrix);
  real();
  Line("glPushMatrix");
}
void glPopMatrix() {
  GLTRACE_REAL(glPopMatrix);
  real();
  Line("glPopMatrix");
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
  GLTRACE_REAL(glTranslatef);
  real(x, y, z);
  Line("glTranslatef").F(x).F(y).F(z);
}
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
  GLTRACE_REAL(glRotatef);
  real(angle, x, y, z);
  Line("glRotatef").F(angle).F(x).F(y).F(z);
}
void glScalef(GLfloat x, GLfloat y, GLfloat z) {
  GLTRACE_REAL(glScalef);
  real(x, y, z);
  Line("glScalef").F(x).F(y).F(z);
}
void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
  GLTRACE_REAL(gluPerspective);
  real(fovy, aspect, zNear, zFar);
  Line("gluPerspective").D(fovy).D(aspect).D(zNear).D(zFar);
}

// ---- Immediate mode ----------------------------------------------------------
void glBegin(GLenum mode) {
  GLTRACE_REAL(glBegin);
  real(mode);
  Line("glBegin").Enum(mode, kovrin::test::gltrace::kPrimitiveEnums);
}
void glEnd() {
  GLTRACE_REAL(glEnd);
  real();
  Line("glEnd");
}
void glNormal3f(GLfloat nx, GLfloat ny, GLfloat nz) {
  GLTRACE_REAL(glNormal3f);
  real(nx, ny, nz);
  Line("glNormal3f").F(nx).F(ny).F(nz);
}
void glTexCoord2f(GLfloat s, GLfloat t) {
  GLTRACE_REAL(glTexCoord2f);
  real(s, t);
  Line("glTexCoord2f").F(s).F(t);
}
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
  GLTRACE_REAL(glVertex3f);
  real(x, y, z);
  Line("glVertex3f").F(x).F(y).F(z);
}
void glColor3f(GLfloat red, GLfloat green, GLfloat blue) {
  GLTRACE_REAL(glColor3f);
  real(red, green, blue);
  Line("glColor3f").F(red).F(green).F(blue);
}
void glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
  GLTRACE_REAL(glColor4f);
  real(red, green, blue, alpha);
  Line("glColor4f").F(red).F(green).F(blue).F(alpha);
}

// ---- Display lists -----------------------------------------------------------
GLuint glGenLists(GLsizei range) {
  GLTRACE_REAL(glGenLists);
  const GLuint first = real(range);
  Line("glGenLists").I(range).Word("=").U(first);
  return first;
}
void glNewList(GLuint list, GLenum mode) {
  GLTRACE_REAL(glNewList);
  real(list, mode);
  Line("glNewList").U(list).Enum(mode);
}
void glEndList() {
  GLTRACE_REAL(glEndList);
  real();
  Line("glEndList");
}
void glCallList(GLuint list) {
  GLTRACE_REAL(glCallList);
  real(list);
  Line("glCallList").U(list);
}
void glDeleteLists(GLuint list, GLsizei range) {
  GLTRACE_REAL(glDeleteLists);
  real(list, range);
  Line("glDeleteLists").U(list).I(range);
}

// ---- Textures ----------------------------------------------------------------
void glGenTextures(GLsizei n, GLuint* textures) {
  GLTRACE_REAL(glGenTextures);
  real(n, textures);
  Line line("glGenTextures");
  line.I(n).Word("=");
  for (GLsizei i = 0; i < n && line.active(); ++i) line.U(textures[i]);
}
void glDeleteTextures(GLsizei n, const GLuint* textures) {
  GLTRACE_REAL(glDeleteTextures);
  real(n, textures);
  Line line("glDeleteTextures");
  line.I(n);
  for (GLsizei i = 0; i < n && line.active(); ++i) line.U(textures[i]);
}
void glBindTexture(GLenum target, GLuint texture) {
  GLTRACE_REAL(glBindTexture);
  real(target, texture);
  Line("glBindTexture").Enum(target).U(texture);
}
void glTexParameteri(GLenum target, GLenum pname, GLint param) {
  GLTRACE_REAL(glTexParameteri);
  real(target, pname, param);
  Line line("glTexParameteri");
  line.Enum(target).Enum(pname);
  if (kovrin::test::gltrace::ValueIsEnum(pname)) {
    line.Enum(static_cast<GLenum>(param));
  } else {
    line.I(param);
  }
}
void glTexEnvi(GLenum target, GLenum pname, GLint param) {
  GLTRACE_REAL(glTexEnvi);
  real(target, pname, param);
  Line line("glTexEnvi");
  line.Enum(target).Enum(pname);
  if (kovrin::test::gltrace::ValueIsEnum(pname)) {
    line.Enum(static_cast<GLenum>(param));
  } else {
    line.I(param);
  }
}
void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                  GLenum format, GLenum type, const GLvoid* pixels) {
  GLTRACE_REAL(glTexImage2D);
  real(target, level, internalFormat, width, height, border, format, type, pixels);
  Line line("glTexImage2D");
  line.Enum(target).I(level).Enum(static_cast<GLenum>(internalFormat)).I(width).I(height).I(border);
  line.Enum(format).Enum(type);
  kovrin::test::gltrace::AddPixels(line, width, height, format, type, pixels);
}

}  // extern "C"
