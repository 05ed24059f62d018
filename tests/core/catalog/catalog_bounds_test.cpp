// Whatever file lies in the way, loading reads only what 50 records and their lines need.
#include <gtest/gtest.h>

#include <functional>
#include <istream>
#include <streambuf>

#include "core/catalog/catalog.h"

using namespace vorta;

namespace {

// A read-only, seekable file of the given size whose bytes are made on demand, so that a
// 100 MB file costs no memory. It counts every byte it hands out.
class GeneratedFile : public std::streambuf {
public:
    GeneratedFile(std::size_t size, std::function<char(std::size_t)> byteAt) : size_(size), byteAt_(std::move(byteAt)) {}
    std::size_t bytesDelivered() const { return delivered_; }

protected:
    int_type underflow() override {
        if (next_ >= size_) return traits_type::eof();
        const std::size_t count = std::min(sizeof buffer_, size_ - next_);
        for (std::size_t i = 0; i < count; ++i) buffer_[i] = byteAt_(next_ + i);
        next_ += count;
        delivered_ += count;
        setg(buffer_, buffer_, buffer_ + count);
        return traits_type::to_int_type(buffer_[0]);
    }
    pos_type seekpos(pos_type position, std::ios_base::openmode) override {
        next_ = static_cast<std::size_t>(position);
        setg(buffer_, buffer_, buffer_);
        return position;
    }
    pos_type seekoff(off_type offset, std::ios_base::seekdir way, std::ios_base::openmode mode) override {
        if (way == std::ios_base::beg) return seekpos(offset, mode);
        return pos_type(off_type(-1));
    }

private:
    std::size_t size_;
    std::function<char(std::size_t)> byteAt_;
    char buffer_[4096];
    std::size_t next_ = 0;
    std::size_t delivered_ = 0;
};

constexpr std::size_t kHundredMegabytes = 100u << 20;
constexpr std::size_t kReadingBound = 4u << 20;  // far below the file, far above 50 records

struct Loaded {
    Catalog catalog;
    std::size_t bytesRead;
};

Loaded loadGenerated(std::function<char(std::size_t)> byteAt) {
    GeneratedFile file(kHundredMegabytes, std::move(byteAt));
    std::istream in(&file);
    Catalog catalog = loadCatalog(in);
    return {std::move(catalog), file.bytesDelivered()};
}

// The same text over and over, after the two leading lines.
std::function<char(std::size_t)> repeating(const std::string& leading, const std::string& unit) {
    return [=](std::size_t i) { return i < leading.size() ? leading[i] : unit[(i - leading.size()) % unit.size()]; };
}

TEST(CatalogBounds, HugeFilesAreReadOnlyAsFarAsTheCatalogNeeds) {
    const struct {
        const char* what;
        std::function<char(std::size_t)> byteAt;
        int entries;
    } files[] = {
        {"one line of digits", repeating("", "1"), 0},
        {"a million record lines", repeating("1\r\n0\r\n", "0.1,0.1,0.3,18,0.1,0.1,1.9\r\n"), 50},
        {"records then one endless line", repeating("1\r\n0\r\n0.1,0.1,0.3,18,0.1,0.1,1.9\r\n", "7"), 1},
        {"a quote that never closes", repeating("1\r\n0\r\n\"", "x,"), 0},
        {"NUL bytes", repeating("", std::string(1, '\0')), 0},
        {"carriage returns alone", repeating("1\r0\r", "\r"), 0},
        {"empty lines", repeating("1\r\n0\r\n", "\r\n"), 0},
        {"commas", repeating("1\r\n0\r\n", ","), 50},
        {"blanks", repeating("1\r\n0\r\n", " "), 0},
        {"binary junk", [](std::size_t i) { return static_cast<char>((i * 2654435761u) >> 13); }, 50},
    };
    for (const auto& f : files) {
        const Loaded loaded = loadGenerated(f.byteAt);
        EXPECT_LT(loaded.bytesRead, kReadingBound) << f.what;
        EXPECT_LE(loaded.catalog.AirfoilCount(), f.entries) << f.what;
        for (const CatalogEntry& e : loaded.catalog.entries) {
            EXPECT_LE(e.displayText.size(), 7 * (kFieldLengthLimit + 2)) << f.what;
            EXPECT_EQ(e.displayText.find_first_of("\r\n"), std::string::npos) << f.what;
        }
    }
}

}  // namespace
