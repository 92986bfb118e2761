// A temporary file that its owner removes when it goes out of scope, unless it has been committed
// (moved into place).
#pragma once

#include <utility>

namespace platform {

// `Path` is the path's text as the system takes it; `Remove` removes the file at such a path.
template <typename Path, typename Remove>
class TemporaryFile {
  public:
    TemporaryFile(Path path, Remove remove) : path_(std::move(path)), remove_(std::move(remove)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!committed_) remove_(path_);
    }

    const Path& path() const { return path_; }
    // The file has been moved into place; there is nothing left to remove.
    void commit() { committed_ = true; }

  private:
    Path path_;
    Remove remove_;
    bool committed_ = false;
};

}  // namespace platform
