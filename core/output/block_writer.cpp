#include "core/output/block_writer.h"

#include <algorithm>
#include <utility>

namespace vorta {

BlockWriter::BlockWriter(ByteSink sink, std::size_t blockSize)
    : sink_(std::move(sink)),
      capacity_(std::max<std::size_t>(blockSize, 1)),
      buffer_(new char[capacity_]),
      next_(buffer_.get()),
      end_(buffer_.get() + capacity_) {}

void BlockWriter::appendInParts(std::string_view text) {
    while (!text.empty()) {
        const std::size_t part = std::min(text.size(), capacity_);
        char* out = room(part);
        std::memcpy(out, text.data(), part);
        wrote(out + part);
        text.remove_prefix(part);
    }
}

int BlockWriter::finish() {
    flush();
    return error_;
}

void BlockWriter::flush() {
    const std::string_view block(buffer_.get(), static_cast<std::size_t>(next_ - buffer_.get()));
    if (error_ == 0 && !block.empty()) error_ = sink_(block);
    next_ = buffer_.get();
}

// A request larger than the whole buffer, as an absurdly long separator could make, gets a
// buffer of its own size.
void BlockWriter::makeRoom(std::size_t n) {
    flush();
    if (n <= capacity_) return;
    capacity_ = n;
    buffer_.reset(new char[capacity_]);
    next_ = buffer_.get();
    end_ = buffer_.get() + capacity_;
}

}  // namespace vorta
