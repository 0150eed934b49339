// Loaded with LD_PRELOAD by scripts/startup-bench.sh: notes when a program first asks the X
// server to map a window (without a window manager the server maps it at once) and when it
// first sends window pixels, which is when its first frame is complete. Each is appended once,
// as "map NS" and "frame NS" (wall clock, nanoseconds), to the file named by
// SUMVARL_STARTUP_TIMES_FILE; every call is passed on. Noting the times in the program spares
// the benchmark polling the server while the programs start.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <xcb/xproto.h>

namespace {

void Note(std::atomic_flag& noted, const char* what)
{
    if (noted.test_and_set()) {
        return;
    }
    const char* path = std::getenv("SUMVARL_STARTUP_TIMES_FILE"); // NOLINT(concurrency-mt-unsafe)
    if (path == nullptr) {
        return;
    }
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const std::string line =
        std::string(what) + ' ' +
        std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()) + '\n';
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644); // NOLINT
    if (fd >= 0) {
        (void)!::write(fd, line.data(), line.size());
        ::close(fd);
    }
}

std::atomic_flag mapped = ATOMIC_FLAG_INIT;
std::atomic_flag framed = ATOMIC_FLAG_INIT;

void NoteFirstFrame()
{
    Note(framed, "frame");
}

// The real function from its library, which Qt's platform plugin brought in privately, out of
// reach of RTLD_NEXT.
template <typename Function> Function Real(const char* library, const char* name)
{
    void* handle = ::dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
    return reinterpret_cast<Function>(::dlsym(handle, name)); // NOLINT
}

} // namespace

// The two ways Qt's xcb backing store puts its image on a window: shared memory when the
// server offers it (no header here: the signature is MIT-SHM's PutImage request), else the
// plain request.
extern "C" {

// NOLINTNEXTLINE(readability-identifier-naming)
xcb_void_cookie_t xcb_map_window(xcb_connection_t* c, xcb_window_t window)
{
    static const auto real = Real<decltype(&xcb_map_window)>("libxcb.so.1", "xcb_map_window");
    Note(mapped, "map");
    return real(c, window);
}

// NOLINTNEXTLINE(readability-identifier-naming)
xcb_void_cookie_t xcb_shm_put_image(xcb_connection_t* c, xcb_drawable_t drawable, xcb_gcontext_t gc,
                                    std::uint16_t totalWidth, std::uint16_t totalHeight,
                                    std::uint16_t srcX, std::uint16_t srcY, std::uint16_t srcWidth,
                                    std::uint16_t srcHeight, std::int16_t dstX, std::int16_t dstY,
                                    std::uint8_t depth, std::uint8_t format, std::uint8_t sendEvent,
                                    std::uint32_t shmseg, std::uint32_t offset)
{
    static const auto real =
        Real<decltype(&xcb_shm_put_image)>("libxcb-shm.so.0", "xcb_shm_put_image");
    NoteFirstFrame();
    return real(c, drawable, gc, totalWidth, totalHeight, srcX, srcY, srcWidth, srcHeight, dstX,
                dstY, depth, format, sendEvent, shmseg, offset);
}

// NOLINTNEXTLINE(readability-identifier-naming)
xcb_void_cookie_t xcb_put_image(xcb_connection_t* c, std::uint8_t format, xcb_drawable_t drawable,
                                xcb_gcontext_t gc, std::uint16_t width, std::uint16_t height,
                                std::int16_t dstX, std::int16_t dstY, std::uint8_t leftPad,
                                std::uint8_t depth, std::uint32_t dataLen, const std::uint8_t* data)
{
    static const auto real = Real<decltype(&xcb_put_image)>("libxcb.so.1", "xcb_put_image");
    NoteFirstFrame();
    return real(c, format, drawable, gc, width, height, dstX, dstY, leftPad, depth, dataLen, data);
}

} // extern "C"
