// The grid files as readers take them: the VTK text line by line and read back number by number,
// and the CGNS file read back with the CGNS library.
#include <cgnslib.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "core/output/cgns_grid.h"
#include "core/output/vtk_grid.h"
#include "support/temp_dir.h"

using namespace vorta;

namespace {

// A grid of NI x NJ nodes whose values differ from node to node and span many magnitudes.
FlowGrid sampleGrid(int NI, int NJ) {
    FlowGrid grid;
    grid.F = 0.1;
    grid.G = 0.05;
    grid.m = 2;
    grid.AlfaD = 4;
    grid.NI = NI;
    grid.NJ = NJ;
    grid.outerRatio = 368.2;
    const std::size_t n = grid.nodeCount();
    for (PointArray* values : {&grid.x, &grid.y, &grid.u, &grid.v, &grid.Cp, &grid.psi}) values->resize(n);
    for (std::size_t k = 0; k < n; ++k) {
        const double t = static_cast<double>(k) + 0.1;
        grid.x[k] = t / 3;
        grid.y[k] = -t * 1e-7;
        grid.u[k] = 1 / t;
        grid.v[k] = -t * t;
        grid.Cp[k] = 1 - 1 / (t * t);
        grid.psi[k] = t * 1e300 / static_cast<double>(n);
    }
    return grid;
}

std::string vtkText(const FlowGrid& grid) {
    std::string text;
    EXPECT_EQ(writeVtkGrid(grid,
                           [&text](std::string_view bytes) {
                               text.append(bytes);
                               return 0;
                           }),
              0);
    return text;
}

TEST(VtkGrid, WritesALegacyStructuredGridWithItsPointData) {
    FlowGrid grid = sampleGrid(3, 2);
    grid.x = {1, 0.5, 1, 2, -0.0, 2};
    grid.y = {0, -0.25, 0, 1e-20, 3, -1e-20};
    grid.Cp = {1, -0.5, 1, 0.1, 0.2, 0.3};
    grid.psi = {0, -0.0, 0, 7, 8, 9};
    grid.u = {0, 1.5, 0, 1, 1, 1};
    grid.v = {0, -2, 0, 0.125, 0, -0.125};
    EXPECT_EQ(vtkText(grid),
              "# vtk DataFile Version 3.0\n"
              "Vorta F=0.1 G=0.05 m=2 AlfaD=4: the exact potential flow on a conformal O-grid, chord 1, "
              "free-stream speed 1\n"
              "ASCII\nDATASET STRUCTURED_GRID\nDIMENSIONS 3 2 1\nPOINTS 6 double\n"
              "1 0 0\n0.5 -0.25 0\n1 0 0\n2 1e-20 0\n0 3 0\n2 -1e-20 0\n"
              "POINT_DATA 6\nSCALARS Cp double 1\nLOOKUP_TABLE default\n1\n-0.5\n1\n0.1\n0.2\n0.3\n"
              "SCALARS psi double 1\nLOOKUP_TABLE default\n0\n0\n0\n7\n8\n9\n"
              "VECTORS velocity double\n0 0 0\n1.5 -2 0\n0 0 0\n1 0.125 0\n1 0 0\n1 -0.125 0\n");
}

// Many batches of lines, formatted on several threads, come out in node order and read back as
// the same doubles.
TEST(VtkGrid, ALargeGridReadsBackNumberForNumberInNodeOrder) {
    const FlowGrid grid = sampleGrid(300, 250);
    std::istringstream in(vtkText(grid));
    std::string line;
    const auto skipTo = [&](const std::string& start) {
        while (std::getline(in, line) && line.rfind(start, 0) != 0) {
        }
        ASSERT_EQ(line.substr(0, start.size()), start);
    };
    const auto readColumns = [&](std::vector<const PointArray*> arrays, int zeros) {
        for (std::size_t k = 0; k < grid.nodeCount(); ++k) {
            ASSERT_TRUE(std::getline(in, line));
            const char* next = line.c_str();
            for (const PointArray* values : arrays) {
                char* end = nullptr;
                ASSERT_EQ(std::strtod(next, &end), (*values)[k]) << "node " << k << ": " << line;
                next = end;
            }
            for (int z = 0; z < zeros; ++z) ASSERT_EQ(std::string(next, 2), " 0");
        }
    };
    skipTo("POINTS 75000 double");
    readColumns({&grid.x, &grid.y}, 1);
    skipTo("LOOKUP_TABLE");
    readColumns({&grid.Cp}, 0);
    skipTo("LOOKUP_TABLE");
    readColumns({&grid.psi}, 0);
    skipTo("VECTORS velocity double");
    readColumns({&grid.u, &grid.v}, 1);
    EXPECT_FALSE(std::getline(in, line));
}

TEST(VtkGrid, TheSinksFirstErrorIsTheOutcome) {
    int calls = 0;
    EXPECT_EQ(writeVtkGrid(sampleGrid(300, 250),
                           [&calls](std::string_view) {
                               ++calls;
                               return ENOSPC;
                           }),
              ENOSPC);
    EXPECT_EQ(calls, 1);
}

// Reads the CGNS file back with the library and checks it node for node.
class CgnsRead {
  public:
    explicit CgnsRead(const std::string& path) {
        EXPECT_EQ(cg_open(path.c_str(), CG_MODE_READ, &file_), CG_OK);
    }
    ~CgnsRead() { cg_close(file_); }
    int file() const { return file_; }

  private:
    int file_ = 0;
};

CGNS_ENUMT(DataClass_t) dataClassThere() {
    CGNS_ENUMT(DataClass_t) dataClass = CGNS_ENUMV(DataClassNull);
    EXPECT_EQ(cg_dataclass_read(&dataClass), CG_OK);
    return dataClass;
}

std::vector<double> exponentsThere() {
    std::vector<double> exponents(5);
    EXPECT_EQ(cg_exponents_read(exponents.data()), CG_OK);
    return exponents;
}

TEST(CgnsGrid, ReadsBackAsOneStructuredZoneWithItsVertexSolution) {
    TempDir dir;
    const std::string path = dir.file("grid.cgns");
    const FlowGrid grid = sampleGrid(7, 4);
    ASSERT_FALSE(writeCgnsGrid(grid, path));
    CgnsRead read(path);
    const int file = read.file();
    int bases = 0, zones = 0, cellDimension = 0, physicalDimension = 0;
    char name[33] = {};
    ASSERT_EQ(cg_nbases(file, &bases), CG_OK);
    ASSERT_EQ(bases, 1);
    ASSERT_EQ(cg_base_read(file, 1, name, &cellDimension, &physicalDimension), CG_OK);
    EXPECT_EQ(cellDimension, 2);
    EXPECT_EQ(physicalDimension, 2);
    ASSERT_EQ(cg_goto(file, 1, "end"), CG_OK);
    EXPECT_EQ(dataClassThere(), CGNS_ENUMV(NormalizedByUnknownDimensional));

    ASSERT_EQ(cg_nzones(file, 1, &zones), CG_OK);
    ASSERT_EQ(zones, 1);
    CGNS_ENUMT(ZoneType_t) type;
    ASSERT_EQ(cg_zone_type(file, 1, 1, &type), CG_OK);
    EXPECT_EQ(type, CGNS_ENUMV(Structured));
    cgsize_t size[6] = {};
    ASSERT_EQ(cg_zone_read(file, 1, 1, name, size), CG_OK);
    EXPECT_EQ(std::vector<cgsize_t>(size, size + 4), (std::vector<cgsize_t>{7, 4, 6, 3}));

    const cgsize_t first[2] = {1, 1}, last[2] = {7, 4};
    std::vector<double> values(grid.nodeCount());
    for (const auto& [coordinate, expected] : {std::pair{"CoordinateX", &grid.x}, {"CoordinateY", &grid.y}}) {
        SCOPED_TRACE(coordinate);
        ASSERT_EQ(cg_coord_read(file, 1, 1, coordinate, CGNS_ENUMV(RealDouble), first, last, values.data()),
                  CG_OK);
        EXPECT_EQ(values, std::vector<double>(expected->begin(), expected->end()));
    }
    int solutions = 0;
    CGNS_ENUMT(GridLocation_t) location;
    ASSERT_EQ(cg_nsols(file, 1, 1, &solutions), CG_OK);
    ASSERT_EQ(solutions, 1);
    ASSERT_EQ(cg_sol_info(file, 1, 1, 1, name, &location), CG_OK);
    EXPECT_EQ(location, CGNS_ENUMV(Vertex));
    const struct {
        const char* name;
        const PointArray* values;
        CGNS_ENUMT(DataClass_t) dataClass;
        std::vector<double> exponents;
    } fields[] = {
        {"VelocityX", &grid.u, CGNS_ENUMV(NormalizedByUnknownDimensional), {0, 1, -1, 0, 0}},
        {"VelocityY", &grid.v, CGNS_ENUMV(NormalizedByUnknownDimensional), {0, 1, -1, 0, 0}},
        {"CoefPressure", &grid.Cp, CGNS_ENUMV(NondimensionalParameter), {}},
        {"StreamFunction", &grid.psi, CGNS_ENUMV(NormalizedByUnknownDimensional), {0, 2, -1, 0, 0}},
    };
    int index = 0;
    for (const auto& field : fields) {
        SCOPED_TRACE(field.name);
        ++index;
        CGNS_ENUMT(DataType_t) type;
        ASSERT_EQ(cg_field_info(file, 1, 1, 1, index, &type, name), CG_OK);
        EXPECT_STREQ(name, field.name);
        ASSERT_EQ(
            cg_field_read(file, 1, 1, 1, field.name, CGNS_ENUMV(RealDouble), first, last, values.data()),
            CG_OK);
        EXPECT_EQ(values, std::vector<double>(field.values->begin(), field.values->end()));
        ASSERT_EQ(cg_goto(file, 1, "Zone_t", 1, "FlowSolution_t", 1, "DataArray_t", index, "end"), CG_OK);
        EXPECT_EQ(dataClassThere(), field.dataClass);
        if (!field.exponents.empty()) {
            EXPECT_EQ(exponentsThere(), field.exponents);
        }
    }
}

TEST(CgnsGrid, AFileTheLibraryCannotMakeIsSaid) {
    TempDir dir;
    const auto reason = writeCgnsGrid(sampleGrid(3, 2), dir.file("missing/grid.cgns"));
    ASSERT_TRUE(reason);
    EXPECT_EQ(reason->rfind("the CGNS library says: ", 0), 0u) << *reason;
}

}  // namespace
