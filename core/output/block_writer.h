#pragma once
// Text formatted straight into one fixed buffer and handed to a sink a full block at a time.

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

#include "core/output/byte_sink.h"

namespace vorta {

class BlockWriter {
public:
    static constexpr std::size_t kBlockSize = std::size_t{1} << 20;

    explicit BlockWriter(ByteSink sink, std::size_t blockSize = kBlockSize);
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;

    // Where up to n bytes can be written next; wrote() then says where they end.
    char* room(std::size_t n) {
        if (static_cast<std::size_t>(end_ - next_) < n) makeRoom(n);
        return next_;
    }
    void wrote(char* end) { next_ = end; }
    void append(std::string_view text) {
        if (text.size() <= static_cast<std::size_t>(end_ - next_)) {
            std::memcpy(next_, text.data(), text.size());
            next_ += text.size();
        } else {
            appendInParts(text);
        }
    }

    // Hands the sink what is left. Returns 0 or the first error the sink gave; after an
    // error the sink is handed nothing more.
    int finish();
    bool failed() const { return error_ != 0; }

private:
    void appendInParts(std::string_view text);
    void flush();
    void makeRoom(std::size_t n);

    ByteSink sink_;
    std::size_t capacity_;
    std::unique_ptr<char[]> buffer_;
    char* next_;
    char* end_;
    int error_ = 0;
};

}  // namespace vorta
