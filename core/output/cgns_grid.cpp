#include "core/output/cgns_grid.h"

#include <cgnslib.h>

#include <cmath>

#include "core/numbers/number_text.h"

namespace vorta {

namespace {

const double Pi = 4 * std::atan(1.0);

// An open CGNS file, closed when done with.
class CgnsFile {
  public:
    explicit CgnsFile(const std::string& path) {
        opened_ = cg_open(path.c_str(), CG_MODE_WRITE, &file_) == CG_OK;
    }
    ~CgnsFile() {
        if (opened_) cg_close(file_);
    }
    CgnsFile(const CgnsFile&) = delete;
    CgnsFile& operator=(const CgnsFile&) = delete;

    bool opened() const { return opened_; }
    int number() const { return file_; }
    // Closes the file, which writes what the library still holds; false when that fails.
    bool close() {
        opened_ = false;
        return cg_close(file_) == CG_OK;
    }

  private:
    int file_ = 0;
    bool opened_ = false;
};

std::string describe(const FlowGrid& grid) {
    return "Vorta F=" + shortestText(grid.F) + " G=" + shortestText(grid.G) + " m=" + shortestText(grid.m) +
           " AlfaD=" + shortestText(unsignedZero(grid.AlfaD)) +
           ": the exact potential flow on a conformal O-grid. i runs from the trailing edge along the lower "
           "surface, the nose and the upper surface, its last node repeating its first; j = 1 is the "
           "section's surface, the stream function 0 there.";
}

// A quantity's data class and, for one normalised by the chord and the free-stream speed, the
// powers of length and time of its dimensional form, which readers can take from its name but
// checkers want written.
struct Kind {
    CGNS_ENUMT(DataClass_t) dataClass;
    double length, time;
};
constexpr Kind kLength{CGNS_ENUMV(NormalizedByUnknownDimensional), 1, 0};
constexpr Kind kSpeed{CGNS_ENUMV(NormalizedByUnknownDimensional), 1, -1};
constexpr Kind kStreamFunction{CGNS_ENUMV(NormalizedByUnknownDimensional), 2, -1};
constexpr Kind kCoefficient{CGNS_ENUMV(NondimensionalParameter), 0, 0};

// Describes the data array the last cg_goto went to.
bool describeArray(const Kind& kind) {
    if (cg_dataclass_write(kind.dataClass) != CG_OK) return false;
    if (kind.dataClass != CGNS_ENUMV(NormalizedByUnknownDimensional)) return true;
    const double massLengthTimeTemperatureAngle[5] = {0, kind.length, kind.time, 0, 0};
    return cg_exponents_write(CGNS_ENUMV(RealDouble), massLengthTimeTemperatureAngle) == CG_OK;
}

// The base: its description, its data class, and the reference state that gives the scales.
bool writeBase(int file, const FlowGrid& grid, int& base) {
    if (cg_base_write(file, "Vorta", 2, 2, &base) != CG_OK || cg_goto(file, base, "end") != CG_OK ||
        cg_descriptor_write("Description", describe(grid).c_str()) != CG_OK ||
        cg_dataclass_write(CGNS_ENUMV(NormalizedByUnknownDimensional)) != CG_OK ||
        cg_state_write("The free stream: speed 1 at the angle of attack; lengths in chords.") != CG_OK) {
        return false;
    }
    const double alfa = grid.AlfaD * Pi / 180;
    const struct {
        const char* name;
        double value;
        Kind kind;
    } references[] = {{"VelocityX", std::cos(alfa), kSpeed},
                      {"VelocityY", std::sin(alfa), kSpeed},
                      {"LengthReference", 1, kLength}};
    const cgsize_t one = 1;
    int index = 0;
    for (const auto& reference : references) {
        if (cg_goto(file, base, "ReferenceState_t", 1, "end") != CG_OK ||
            cg_array_write(reference.name, CGNS_ENUMV(RealDouble), 1, &one, &reference.value) != CG_OK ||
            cg_goto(file, base, "ReferenceState_t", 1, "DataArray_t", ++index, "end") != CG_OK ||
            !describeArray(reference.kind)) {
            return false;
        }
    }
    return true;
}

bool writeZone(int file, int base, const FlowGrid& grid) {
    cgsize_t size[6] = {grid.NI, grid.NJ, grid.NI - 1, grid.NJ - 1, 0, 0};
    int zone = 0, solution = 0;
    if (cg_zone_write(file, base, "OGrid", size, CGNS_ENUMV(Structured), &zone) != CG_OK) return false;
    const auto writeCoordinate = [&](const char* name, const PointArray& values) {
        int coordinate = 0;
        return cg_coord_write(file, base, zone, CGNS_ENUMV(RealDouble), name, values.data(), &coordinate) ==
                   CG_OK &&
               cg_goto(file, base, "Zone_t", zone, "GridCoordinates_t", 1, "DataArray_t", coordinate,
                       "end") == CG_OK &&
               describeArray(kLength);
    };
    const auto writeField = [&](const char* name, const PointArray& values, const Kind& kind) {
        int field = 0;
        return cg_field_write(file, base, zone, solution, CGNS_ENUMV(RealDouble), name, values.data(),
                              &field) == CG_OK &&
               cg_goto(file, base, "Zone_t", zone, "FlowSolution_t", solution, "DataArray_t", field, "end") ==
                   CG_OK &&
               describeArray(kind);
    };
    return writeCoordinate("CoordinateX", grid.x) && writeCoordinate("CoordinateY", grid.y) &&
           cg_sol_write(file, base, zone, "FlowSolution", CGNS_ENUMV(Vertex), &solution) == CG_OK &&
           writeField("VelocityX", grid.u, kSpeed) && writeField("VelocityY", grid.v, kSpeed) &&
           writeField("CoefPressure", grid.Cp, kCoefficient) &&
           writeField("StreamFunction", grid.psi, kStreamFunction);
}

std::string libraryError() { return std::string("the CGNS library says: ") + cg_get_error(); }

}  // namespace

std::optional<std::string> writeCgnsGrid(const FlowGrid& grid, const std::string& path) {
    CgnsFile file(path);
    if (!file.opened()) return libraryError();
    int base = 0;
    if (!writeBase(file.number(), grid, base) || !writeZone(file.number(), base, grid)) return libraryError();
    if (!file.close()) return libraryError();
    return std::nullopt;
}

}  // namespace vorta
