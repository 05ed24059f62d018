// Measures what a user waits for: loading a catalog file (also a 100 MB one in the way),
// one calculation at several point counts, and writing the result file. Prints wall-clock
// times and the peak memory of the process.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "core/calculation/calculation.h"
#include "core/catalog/catalog.h"
#include "core/output/result_file.h"

namespace {

double millisecondsFor(const std::function<void()>& work, int repeats) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < repeats; ++i) work();
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count() / repeats;
}

long peakMemoryKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void writeHugeFile(const std::string& path, const std::string& leading, const std::string& unit) {
    std::ofstream out(path, std::ios::binary);
    out << leading;
    const std::string block = [&] {
        std::string b;
        while (b.size() < (1u << 20)) b += unit;
        return b;
    }();
    for (int i = 0; i < 100; ++i) out << block;
}

}  // namespace

int main() {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "vorta-bench";
    std::filesystem::create_directories(dir);
    const std::string catalogPath = (dir / "VORTA_Input.txt").string();

    std::ofstream(catalogPath, std::ios::binary) << "1\r\n0\r\n0.1,0.1,0.3,18,0.1,0.1,1.9\r\n";
    std::printf("load a one-entry catalog:         %9.3f ms\n",
                millisecondsFor([&] { vorta::loadCatalogFile(catalogPath); }, 1000));
    const vorta::Catalog catalog = vorta::loadCatalogFile(catalogPath);

    const std::string hugePath = (dir / "huge.txt").string();
    writeHugeFile(hugePath, "", "1");
    std::printf("load a 100 MB single line:        %9.3f ms\n",
                millisecondsFor([&] { vorta::loadCatalogFile(hugePath); }, 10));
    writeHugeFile(hugePath, "1\r\n0\r\n", "0.1,0.1,0.3,18,0.1,0.1,1.9\r\n");
    std::printf("load 100 MB of record lines:      %9.3f ms\n",
                millisecondsFor([&] { vorta::loadCatalogFile(hugePath); }, 10));
    std::filesystem::remove(hugePath);

    for (const char* points : {"51", "20001", "1000000"}) {
        const int repeats = std::string(points) == "1000000" ? 3 : 100;
        std::printf("calculate N1 = %-8s           %9.3f ms\n", points,
                    millisecondsFor([&] { vorta::calculate(catalog, 1, points, "5"); }, repeats));
    }

    const auto big = std::get<vorta::Calculation>(vorta::calculate(catalog, 1, "1000000", "5"));
    const std::string resultPath = (dir / "VORTA_result.txt").string();
    std::printf("save N1 = 1000000, layout 4:      %9.3f ms\n",
                millisecondsFor([&] { vorta::saveResultFile(catalog, big, vorta::Layout::FoldedXYCu, ".", resultPath); },
                                3));
    std::printf("peak memory:                      %9ld kB\n", peakMemoryKilobytes());
    std::filesystem::remove_all(dir);
    return 0;
}
