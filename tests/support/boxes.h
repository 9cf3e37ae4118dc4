// Records the texts of the message boxes shown while it lives, answering each
// with OK; the presenter installed before it is put back at the end.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "corvaplat/msgbox.h"

namespace corva::test {

class BoxRecorder {
 public:
  BoxRecorder() : previous_(platform::set_message_box_presenter(record, this)) {}
  ~BoxRecorder() { platform::set_message_box_presenter(previous_, nullptr); }
  BoxRecorder(const BoxRecorder&) = delete;
  BoxRecorder& operator=(const BoxRecorder&) = delete;

  // The texts shown, oldest first.
  const std::vector<std::string>& texts() const { return texts_; }
  std::size_t count() const { return texts_.size(); }
  // The newest text, or "" when none was shown.
  std::string last() const { return texts_.empty() ? std::string() : texts_.back(); }
  void clear() { texts_.clear(); }

 private:
  static int record(void* self, const platform::MessageBoxRequest& r) {
    static_cast<BoxRecorder*>(self)->texts_.emplace_back(r.text);
    return platform::IDOK;
  }

  platform::MessageBoxPresenter previous_;
  std::vector<std::string> texts_;
};

}  // namespace corva::test
