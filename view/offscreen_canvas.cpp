#include "view/offscreen_canvas.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstring>

namespace korvane {
namespace {

constexpr int kMaxSide = 16384;

// A display of Mesa's surfaceless platform with a current compatibility context; everything is
// released in reverse order when the session ends.
class EglSession {
  public:
    EglSession() = default;
    EglSession(const EglSession&) = delete;
    EglSession& operator=(const EglSession&) = delete;
    ~EglSession() {
        if (display_ == EGL_NO_DISPLAY) {
            return;
        }
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (context_ != EGL_NO_CONTEXT) {
            eglDestroyContext(display_, context_);
        }
        eglTerminate(display_);
    }

    bool Open(std::string& error) {
        auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
            eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (getPlatformDisplay == nullptr) {
            error = "EGL has no eglGetPlatformDisplayEXT";
            return false;
        }
        display_ = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (display_ == EGL_NO_DISPLAY || !eglInitialize(display_, nullptr, nullptr)) {
            display_ = EGL_NO_DISPLAY;
            error = "no surfaceless EGL display (is Mesa's libegl-mesa0 installed?)";
            return false;
        }
        if (!eglBindAPI(EGL_OPENGL_API)) {
            error = "EGL cannot bind desktop OpenGL";
            return false;
        }
        const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE,
                                           EGL_OPENGL_BIT, EGL_NONE};
        EGLConfig config = nullptr;
        EGLint configCount = 0;
        if (!eglChooseConfig(display_, configAttributes, &config, 1, &configCount) ||
            configCount < 1) {
            config = nullptr;  // contexts without a config are fine for surfaceless rendering
        }
        const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                            EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
        context_ = eglCreateContext(display_, config, EGL_NO_CONTEXT, contextAttributes);
        if (context_ == EGL_NO_CONTEXT) {
            error = "EGL cannot create an OpenGL compatibility context";
            return false;
        }
        if (!eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_)) {
            error = "EGL cannot make the context current without a surface (error " +
                    std::to_string(eglGetError()) + "; is another context current on this thread?)";
            return false;
        }
        return true;
    }

  private:
    EGLDisplay display_ = EGL_NO_DISPLAY;
    EGLContext context_ = EGL_NO_CONTEXT;
};

template <class Function>
bool Resolve(Function& function, const char* name) {
    function = reinterpret_cast<Function>(eglGetProcAddress(name));
    return function != nullptr;
}

// A framebuffer object with an RGBA8 colour and a 24-bit depth buffer, bound while it lives; the
// same depth precision as the desktop view, so that both draw the same frame.
class Framebuffer {
  public:
    Framebuffer() = default;
    Framebuffer(const Framebuffer&) = delete;
    Framebuffer& operator=(const Framebuffer&) = delete;
    ~Framebuffer() {
        if (framebuffer_ != 0) {
            bindFramebuffer_(GL_FRAMEBUFFER, 0);
            deleteFramebuffers_(1, &framebuffer_);
            deleteRenderbuffers_(2, renderbuffers_);
        }
    }

    bool Create(int width, int height, std::string& error) {
        PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
        PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
        PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
        PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
        PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
        PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
        if (!Resolve(genFramebuffers, "glGenFramebuffers") ||
            !Resolve(genRenderbuffers, "glGenRenderbuffers") ||
            !Resolve(bindRenderbuffer, "glBindRenderbuffer") ||
            !Resolve(renderbufferStorage, "glRenderbufferStorage") ||
            !Resolve(framebufferRenderbuffer, "glFramebufferRenderbuffer") ||
            !Resolve(checkFramebufferStatus, "glCheckFramebufferStatus") ||
            !Resolve(bindFramebuffer_, "glBindFramebuffer") ||
            !Resolve(deleteFramebuffers_, "glDeleteFramebuffers") ||
            !Resolve(deleteRenderbuffers_, "glDeleteRenderbuffers")) {
            error = "the OpenGL context has no framebuffer objects";
            return false;
        }
        genRenderbuffers(2, renderbuffers_);
        bindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[0]);
        renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
        bindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[1]);
        renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
        genFramebuffers(1, &framebuffer_);
        bindFramebuffer_(GL_FRAMEBUFFER, framebuffer_);
        framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                renderbuffers_[0]);
        framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                renderbuffers_[1]);
        if (checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
            error = "the framebuffer object is incomplete";
            return false;
        }
        return true;
    }

  private:
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer_ = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers_ = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers_ = nullptr;
    GLuint framebuffer_ = 0;
    GLuint renderbuffers_[2] = {};
};

void ReadFrame(int width, int height, RgbaImage& image) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    std::vector<std::uint8_t> bottomUp(rowBytes * static_cast<std::size_t>(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    image.width = width;
    image.height = height;
    image.pixels.resize(bottomUp.size());
    for (int row = 0; row < height; ++row) {
        std::memcpy(&image.pixels[static_cast<std::size_t>(row) * rowBytes],
                    &bottomUp[static_cast<std::size_t>(height - 1 - row) * rowBytes], rowBytes);
    }
    // The frame is cleared with alpha 0, but a window shows it opaque, and so does the image.
    for (std::size_t alpha = 3; alpha < image.pixels.size(); alpha += 4) {
        image.pixels[alpha] = 255;
    }
}

}  // namespace

struct OffscreenCanvas::Parts {
    EglSession session;
    Framebuffer framebuffer;
};

OffscreenCanvas::OffscreenCanvas() = default;

OffscreenCanvas::~OffscreenCanvas() = default;

bool OffscreenCanvas::Open(int width, int height, std::string& error) {
    parts_.reset();
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) {
        error = "the image size must be between 1 and " + std::to_string(kMaxSide) + " pixels";
        return false;
    }
    auto parts = std::make_unique<Parts>();
    if (!parts->session.Open(error)) {
        return false;
    }
    GLint largest = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
    if (std::max(width, height) > largest) {
        error = "the image is larger than this OpenGL allows (" + std::to_string(largest) +
                " pixels a side)";
        return false;
    }
    if (!parts->framebuffer.Create(width, height, error)) {
        return false;
    }
    parts_ = std::move(parts);
    width_ = width;
    height_ = height;
    return true;
}

void OffscreenCanvas::Read(RgbaImage& image) const {
    glFinish();
    ReadFrame(width_, height_, image);
}

}  // namespace korvane
