// The flow field at the points of a raw file (n x values, then n y values, as doubles), held in
// memory: the median time of evaluate() on each path and thread count, in milliseconds.
//   field_evaluation POINTS.raw F G m AlfaD [repeats]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "core/solver/flow_field.h"

int main(int argc, char** argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: field_evaluation POINTS.raw F G m AlfaD [repeats]\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary | std::ios::ate);
    const auto bytes = static_cast<std::size_t>(in.tellg());
    const std::size_t n = bytes / (2 * sizeof(double));
    std::vector<double> xy(2 * n);
    in.seekg(0);
    in.read(reinterpret_cast<char*>(xy.data()), static_cast<std::streamsize>(bytes));
    const vorta::FlowField field(std::atof(argv[2]), std::atof(argv[3]), std::atof(argv[4]),
                                 std::atof(argv[5]));
    const int repeats = argc > 6 ? std::atoi(argv[6]) : 9;
    std::vector<double> u(n), v(n), Cp(n), psi(n);
    for (vorta::SweepPath path : vorta::availablePaths()) {
        for (int threads : {1, 0}) {
            std::vector<double> times;
            for (int r = 0; r < repeats; ++r) {
                const auto start = std::chrono::steady_clock::now();
                field.evaluate(n, xy.data(), xy.data() + n, u.data(), v.data(), Cp.data(), psi.data(), path,
                               threads);
                times.push_back(
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                        .count());
            }
            std::sort(times.begin(), times.end());
            std::printf("%-8s %s  %8.1f ms\n", vorta::pathName(path),
                        threads == 1 ? "1 thread " : "threads  ", times[times.size() / 2]);
        }
    }
    return 0;
}
