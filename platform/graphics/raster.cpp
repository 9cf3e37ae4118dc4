// Image files: a surface painted in memory, then written beside the target
// and renamed over it.
#include <corvaplat/owned_file.h>
#include <corvaplat/raster.h>
#include <corvaplat/sys.h>

#include <cairo-svg.h>
#include <cairo.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace corva::platform {
namespace {

cairo_status_t append(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

bool fail(std::string* error, std::string reason) {
  if (error != nullptr) *error = std::move(reason);
  return false;
}

// Writes `bytes` to a new file beside `path` and renames it over `path`; the
// new file is never one someone planted under its name.
bool replace_file(const char* path, const std::string& bytes, std::string* error) {
  const std::string temp = std::string(path) + ".new" + std::to_string(::getpid());
  const int fd = open_owned(temp, OwnedOpen::kCreateNew, 0644);
  if (fd < 0) return fail(error, std::string("cannot write ") + path + ": " + std::strerror(errno));
  std::size_t done = 0;
  int saved = 0;
  while (done < bytes.size()) {
    const long n = sys().write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      saved = n < 0 ? errno : ENOSPC;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  if (saved == 0 && sys().fsync(fd) != 0) saved = errno;
  if (sys().close(fd) != 0 && saved == 0) saved = errno;
  if (saved == 0 && sys().rename(temp.c_str(), path) != 0) saved = errno;
  if (saved != 0) {
    sys().unlink(temp.c_str());
    return fail(error, std::string("cannot write ") + path + ": " + std::strerror(saved));
  }
  return true;
}

}  // namespace

bool write_image(ImageKind kind, const char* path, int width, int height,
                 const std::function<void(cairo_surface_t*)>& paint, std::string* error) {
  if (path == nullptr || path[0] == '\0') return fail(error, "no image path");
  constexpr int kLargest = 16384;
  if (width <= 0 || height <= 0 || width > kLargest || height > kLargest)
    return fail(error, "cannot draw an image of " + std::to_string(width) + "x" +
                           std::to_string(height) + " pixels");
  std::string bytes;
  cairo_surface_t* surface =
      kind == ImageKind::kPng
          ? cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)
          : cairo_svg_surface_create_for_stream(append, &bytes, width, height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return fail(error, "cannot make a drawing surface");
  }
  if (paint) paint(surface);
  cairo_surface_flush(surface);
  cairo_status_t status = CAIRO_STATUS_SUCCESS;
  if (kind == ImageKind::kPng) status = cairo_surface_write_to_png_stream(surface, append, &bytes);
  cairo_surface_finish(surface);
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS)
    return fail(error, std::string("cannot encode the image: ") + cairo_status_to_string(status));
  return replace_file(path, bytes, error);
}

}  // namespace corva::platform
