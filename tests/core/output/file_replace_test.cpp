#include "core/output/file_replace.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <limits>
#include <new>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/failing_replacer.h"
#include "support/temp_dir.h"

using namespace vorta;

namespace {

namespace fs = std::filesystem;

TEST(ReplaceFileAtomically, WritesTheBytesAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.file("VORTA_result.txt");
    writeFile(path, "earlier");
    EXPECT_FALSE(replaceFileAtomically(path, "new\r\ncontent\r\n"));
    EXPECT_EQ(readFile(path), "new\r\ncontent\r\n");
    EXPECT_EQ(dir.entryCount(), 1u);
}

TEST(ReplaceFileAtomically, ADirectoryInTheWayIsReportedAndLeftAlone) {
    TempDir dir;
    const std::string path = dir.file("VORTA_result.txt");
    fs::create_directory(path);
    writeFile(path + "/inside.txt", "kept");
    const auto error = replaceFileAtomically(path, "new");
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, "Could not save VORTA_result.txt: Is a directory.");
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(readFile(path + "/inside.txt"), "kept");
    EXPECT_EQ(dir.entryCount(), 1u);
}

TEST(ReplaceFileAtomically, AMissingDirectoryIsReported) {
    TempDir dir;
    const auto error = replaceFileAtomically(dir.file("gone/VORTA_result.txt"), "new");
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, "Could not save VORTA_result.txt: No such file or directory.");
    EXPECT_EQ(dir.entryCount(), 0u);
}

TEST(ReplaceFileAtomically, AWorkingDirectoryRemovedAfterStartIsReported) {
    const auto start = fs::current_path();
    {
        TempDir dir;
        fs::current_path(dir.path());
        fs::remove(dir.path());
        EXPECT_TRUE(replaceFileAtomically("VORTA_result.txt", "new"));
    }
    fs::current_path(start);
}

// The temporary file's name does not grow with the target's, so a name as long as the file
// system allows saves, afresh or over an earlier file.
TEST(ReplaceFileAtomically, ANameAsLongAsAllowedSaves) {
    TempDir dir;
    for (std::size_t length : {250u, 255u}) {
        SCOPED_TRACE(length);
        const std::string path = dir.file(std::string(length - 4, 'n') + ".txt");
        EXPECT_FALSE(replaceFileAtomically(path, "first"));
        EXPECT_FALSE(replaceFileAtomically(path, "second"));
        EXPECT_EQ(readFile(path), "second");
    }
    EXPECT_EQ(dir.entryCount(), 2u);
}

TEST(ReplaceFileAtomically, ANameLongerThanAllowedIsReported) {
    TempDir dir;
    const std::string name = std::string(252, 'n') + ".txt";
    const auto error = replaceFileAtomically(dir.file(name), "new");
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, "Could not save " + name + ": File name too long.");
    EXPECT_EQ(dir.entryCount(), 0u);
}

// --- Symbolic links -------------------------------------------------------------------------

// A result file kept in sub/ and reached through a link at the top of the directory.
class ReplaceFileAtomicallyThroughLinks : public ::testing::Test {
  protected:
    ReplaceFileAtomicallyThroughLinks() {
        fs::create_directory(dir_.file("sub"));
        writeFile(real_, "earlier");
    }

    // The link is still a link to the same place, sub/ holds only the new text, and the top
    // holds nothing beside the link and sub/.
    void expectReplacedThrough(const std::string& link, const fs::path& pointsTo,
                               std::size_t topEntries = 2) {
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(fs::read_symlink(link), pointsTo);
        EXPECT_EQ(readFile(real_), "new\r\n");
        EXPECT_EQ(readFile(link), "new\r\n");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_.file("sub")), {}), 1);
        EXPECT_EQ(dir_.entryCount(), topEntries);
    }

    TempDir dir_;
    const std::string link_ = dir_.file("VORTA_result.txt");
    const std::string real_ = dir_.file("sub/real.txt");
};

TEST_F(ReplaceFileAtomicallyThroughLinks, AnAbsoluteLinkStaysALinkAndItsFileIsReplaced) {
    fs::create_symlink(real_, link_);
    ASSERT_FALSE(replaceFileAtomically(link_, "new\r\n"));
    expectReplacedThrough(link_, real_);
}

TEST_F(ReplaceFileAtomicallyThroughLinks, ARelativeLinkIsFollowedFromItsOwnDirectory) {
    fs::create_symlink("sub/real.txt", link_);
    ASSERT_FALSE(replaceFileAtomically(link_, "new\r\n"));
    expectReplacedThrough(link_, "sub/real.txt");
}

TEST_F(ReplaceFileAtomicallyThroughLinks, AChainOfLinksIsFollowedToTheEnd) {
    // The second link's relative target only makes sense from its own directory.
    fs::create_directory(dir_.file("links"));
    fs::create_symlink("../sub/real.txt", dir_.file("links/second"));
    fs::create_symlink("links/second", link_);
    ASSERT_FALSE(replaceFileAtomically(link_, "new\r\n"));
    expectReplacedThrough(link_, "links/second", 3);
    EXPECT_TRUE(fs::is_symlink(dir_.file("links/second")));
    EXPECT_EQ(fs::read_symlink(dir_.file("links/second")), "../sub/real.txt");
}

TEST_F(ReplaceFileAtomicallyThroughLinks, ADanglingLinkCreatesTheFileItPointsTo) {
    fs::remove(real_);
    fs::create_symlink("sub/real.txt", link_);
    ASSERT_FALSE(replaceFileAtomically(link_, "new\r\n"));
    expectReplacedThrough(link_, "sub/real.txt");
}

TEST_F(ReplaceFileAtomicallyThroughLinks, ALinkedFileKeepsItsOwnModeNotTheLinks) {
    fs::permissions(real_, fs::perms(0600));
    fs::create_symlink("sub/real.txt", link_);
    ASSERT_FALSE(replaceFileAtomically(link_, "new\r\n"));
    expectReplacedThrough(link_, "sub/real.txt");
    EXPECT_EQ(fs::status(real_).permissions(), fs::perms(0600));
}

TEST_F(ReplaceFileAtomicallyThroughLinks, ALinkToADirectoryIsRefused) {
    fs::create_symlink("sub", link_);
    const auto error = replaceFileAtomically(link_, "new\r\n");
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("Is a directory"), std::string::npos) << *error;
    EXPECT_TRUE(fs::is_symlink(link_));
    EXPECT_EQ(readFile(real_), "earlier");
}

TEST_F(ReplaceFileAtomicallyThroughLinks, LinksInACircleAreReportedAndLeftAlone) {
    fs::create_symlink("other", link_);
    fs::create_symlink("VORTA_result.txt", dir_.file("other"));
    const auto error = replaceFileAtomically(link_, "new\r\n");
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, "Could not save VORTA_result.txt: Too many levels of symbolic links.");
    EXPECT_EQ(fs::read_symlink(link_), "other");
    EXPECT_EQ(fs::read_symlink(dir_.file("other")), "VORTA_result.txt");
    EXPECT_EQ(dir_.entryCount(), 3u);
}

// --- Permissions ----------------------------------------------------------------------------

// Sets the umask for one test and puts the earlier one back.
class Umask {
  public:
    explicit Umask(mode_t mask) : previous_(::umask(mask)) {}
    ~Umask() { ::umask(previous_); }
    Umask(const Umask&) = delete;
    Umask& operator=(const Umask&) = delete;

  private:
    mode_t previous_;
};

fs::perms modeOf(const std::string& path) { return fs::status(path).permissions(); }

TEST(ReplaceFileAtomically, AnExistingFileKeepsItsModeAndANewOneFollowsTheUmask) {
    const Umask umask(022);  // would give 0644 to a file made afresh
    TempDir dir;
    const std::string existing = dir.file("VORTA_result.txt");
    writeFile(existing, "earlier");
    fs::permissions(existing, fs::perms(0640));
    ASSERT_FALSE(replaceFileAtomically(existing, "new"));
    EXPECT_EQ(modeOf(existing), fs::perms(0640));

    const Umask tighter(027);
    const std::string fresh = dir.file("fresh.txt");
    ASSERT_FALSE(replaceFileAtomically(fresh, "new"));
    EXPECT_EQ(modeOf(fresh), fs::perms(0640));
}

TEST(ReplaceFileAtomically, AReadOnlyFileIsLeftAsItWas) {
    if (::geteuid() == 0) GTEST_SKIP() << "every file is writable for root";
    TempDir dir;
    const std::string path = dir.file("VORTA_result.txt");
    writeFile(path, "earlier");
    fs::permissions(path, fs::perms(0444));
    const auto error = replaceFileAtomically(path, "new");
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("Permission denied"), std::string::npos) << *error;
    EXPECT_EQ(readFile(path), "earlier");
    EXPECT_EQ(dir.entryCount(), 1u);
}

// --- FIFOs and sockets ----------------------------------------------------------------------

// Reads what is written to a FIFO on a thread of its own, as another program would, until the
// writer hangs up or, for a reader that leaves early, until it has some bytes.
class FifoReader {
  public:
    explicit FifoReader(const std::string& path, std::size_t enough = std::numeric_limits<std::size_t>::max())
        : path_(path),
          fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK)),
          thread_([this, enough] { run(enough); }) {}
    ~FifoReader() { finish(); }
    FifoReader(const FifoReader&) = delete;
    FifoReader& operator=(const FifoReader&) = delete;

    std::string finish() {
        if (!thread_.joinable()) return received_;
        // A writer that never came would keep the reader waiting: come and go once so it stops.
        const int wake = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK);
        if (wake >= 0) ::close(wake);
        thread_.join();
        return received_;
    }

  private:
    void run(std::size_t enough) {
        char buffer[4096];
        pollfd ready{fd_, POLLIN, 0};
        while (received_.size() < enough && ::poll(&ready, 1, 10000) > 0) {
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n == 0) break;  // the writer hung up
            if (n > 0) received_.append(buffer, static_cast<std::size_t>(n));
        }
        ::close(fd_);
    }

    std::string path_;
    int fd_;
    std::string received_;
    std::thread thread_;
};

// More than a pipe holds at once, so the writer has to wait for the reader.
std::string largeText() {
    std::string text(1 << 20, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 23);
    return text;
}

class ReplaceFileAtomicallyInPlace : public ::testing::Test {
  protected:
    ReplaceFileAtomicallyInPlace() { EXPECT_EQ(::mkfifo(fifo_.c_str(), 0600), 0) << std::strerror(errno); }

    void expectFifoAlone() {
        EXPECT_TRUE(fs::is_fifo(fifo_));
        EXPECT_EQ(dir_.entryCount(), 1u);
    }

    TempDir dir_;
    const std::string fifo_ = dir_.file("VORTA_result.txt");
};

TEST_F(ReplaceFileAtomicallyInPlace, AFifoIsWrittenToItsReader) {
    const std::string text = largeText();
    FifoReader reader(fifo_);
    EXPECT_FALSE(replaceFileAtomically(fifo_, text));
    const std::string received = reader.finish();
    EXPECT_EQ(received.size(), text.size());
    EXPECT_TRUE(received == text);
    expectFifoAlone();
}

TEST_F(ReplaceFileAtomicallyInPlace, AFifoReachedThroughALinkIsWrittenToItsReader) {
    const std::string link = dir_.file("link.txt");
    fs::create_symlink("VORTA_result.txt", link);
    FifoReader reader(fifo_);
    EXPECT_FALSE(replaceFileAtomically(link, "new\r\n"));
    EXPECT_EQ(reader.finish(), "new\r\n");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::is_fifo(fifo_));
    EXPECT_EQ(dir_.entryCount(), 2u);
}

TEST_F(ReplaceFileAtomicallyInPlace, AFifoNobodyReadsFailsAtOnce) {
    const auto error = replaceFileAtomically(fifo_, "new");
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, "Could not save VORTA_result.txt: nothing is reading from it.");
    expectFifoAlone();
}

TEST_F(ReplaceFileAtomicallyInPlace, AReaderThatLeavesEarlyFailsTheSaveWithoutEndingTheProgram) {
    FifoReader reader(fifo_, 1);
    const auto error = replaceFileAtomically(fifo_, largeText());
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("Broken pipe"), std::string::npos) << *error;
    reader.finish();
    expectFifoAlone();
    // The next save works as before.
    FifoReader next(fifo_);
    EXPECT_FALSE(replaceFileAtomically(fifo_, "new"));
    EXPECT_EQ(next.finish(), "new");
}

TEST_F(ReplaceFileAtomicallyInPlace, ASocketIsReportedAndLeftAlone) {
    const std::string socketPath = dir_.file("socket");
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::strcpy(address.sun_path, socketPath.c_str());
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);

    const auto error = replaceFileAtomically(socketPath, "new");
    ::close(listener);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("Could not save socket: "), std::string::npos) << *error;
    EXPECT_TRUE(fs::is_socket(socketPath));
    EXPECT_EQ(dir_.entryCount(), 2u);
}

TEST_F(ReplaceFileAtomicallyInPlace, AFailureAtAnyStepIsReportedAndTheFifoStays) {
    for (Step step : {Step::OpenExisting, Step::Write, Step::Close}) {
        SCOPED_TRACE(name(step));
        FifoReader reader(fifo_);
        FailingReplacer steps(step);
        const auto error = replaceFileAtomically(fifo_, "new", steps);
        ASSERT_TRUE(error);
        EXPECT_NE(error->find("No space left on device"), std::string::npos) << *error;
        reader.finish();
        EXPECT_EQ(std::count(steps.steps.begin(), steps.steps.end(), Step::Rename), 0);
        expectFifoAlone();
    }
}

}  // namespace

// --- Content made while it is written -------------------------------------------------------

namespace {

TEST(ReplaceFileAtomicallyFromAProducer, AProducerThatGivesUpKeepsTheEarlierFile) {
    TempDir dir;
    const std::string path = dir.file("VORTA_result.txt");
    writeFile(path, "earlier");
    const auto error = replaceFileAtomically(path, [](const ByteSink& sink) {
        sink("half of it");
        return EIO;
    });
    ASSERT_TRUE(error);
    EXPECT_EQ(*error,
              "Could not save VORTA_result.txt: Input/output error. An earlier VORTA_result.txt is left as "
              "it was.");
    EXPECT_EQ(readFile(path), "earlier");
    EXPECT_EQ(dir.entryCount(), 1u);
}

TEST_F(ReplaceFileAtomicallyInPlace, AFifoIsWrittenBlockByBlockToItsReader) {
    const std::string text = largeText();
    std::vector<std::string> blocks;
    for (std::size_t at = 0; at < text.size(); at += 100000) blocks.push_back(text.substr(at, 100000));
    FifoReader reader(fifo_);
    EXPECT_FALSE(replaceFileAtomically(fifo_, producing(blocks)));
    EXPECT_TRUE(reader.finish() == text);
    expectFifoAlone();
}

TEST_F(ReplaceFileAtomicallyInPlace, AProducerThatThrowsLeavesTheFifoAndTheProgramAsTheyWere) {
    FifoReader reader(fifo_);
    EXPECT_THROW(replaceFileAtomically(fifo_, [](const ByteSink&) -> int { throw std::bad_alloc(); }),
                 std::bad_alloc);
    reader.finish();
    expectFifoAlone();
    FifoReader next(fifo_);
    EXPECT_FALSE(replaceFileAtomically(fifo_, "new"));
    EXPECT_EQ(next.finish(), "new");
}

}  // namespace
