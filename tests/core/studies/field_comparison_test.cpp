// Error norms of a field against the exact one, and the observed order over refined meshes.
#include "core/studies/field_comparison.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

using namespace vorta;

namespace {

// A mesh of n points about the section whose u carries an error of h^p and whose psi carries an
// arbitrary constant and an error of +-h^p, h = 1/sqrt(n).
FieldTable meshWithError(const FlowField& field, std::size_t n, double p) {
    FieldTable table;
    std::mt19937_64 random(n);
    std::uniform_real_distribution<double> x(-2, 3), y(-2, 2);
    const double error = std::pow(1 / std::sqrt(double(n)), p);
    while (table.size() < n) {
        const double px = x(random), py = y(random);
        const auto exact = field.at(px, py);
        if (!exact) continue;
        table.x.push_back(px);
        table.y.push_back(py);
        table.lines.push_back(int(table.size()) + 1);
        table.values[0].push_back(exact->u + error);
        table.values[3].push_back(exact->psi + 7 + (table.size() % 2 ? error : -error));
    }
    return table;
}

TEST(FieldComparison, NormsAndObservedOrderOfAKnownError) {
    const FlowField field(0.1, 0.05, 2, 4);
    std::vector<FieldComparison> meshes;
    for (std::size_t n : {1000, 4000, 16000})
        meshes.push_back(compareField(meshWithError(field, n, 2), field, "m"));
    for (const FieldComparison& c : meshes) {
        const double h2 = 1.0 / double(c.points);
        ASSERT_TRUE(c.norms[0]);
        EXPECT_NEAR(c.norms[0]->L1, h2, 1e-9 * h2);
        EXPECT_NEAR(c.norms[0]->L2, h2, 1e-9 * h2);
        EXPECT_NEAR(c.norms[0]->Linf, h2, 1e-9 * h2);
        ASSERT_TRUE(c.norms[3]);  // the constant 7 is taken off with the mean
        EXPECT_NEAR(c.norms[3]->L2, h2, 1e-6 * h2);
        EXPECT_FALSE(c.norms[1] || c.norms[2]);
    }
    for (std::size_t f = 1; f < meshes.size(); ++f) {
        EXPECT_NEAR(*observedOrder(meshes[f - 1], meshes[f], 0), 2, 1e-6);
        EXPECT_NEAR(*observedOrder(meshes[f - 1], meshes[f], 3), 2, 1e-4);
        EXPECT_FALSE(observedOrder(meshes[f - 1], meshes[f], 1));
    }
}

TEST(FieldComparison, SkipsPointsInsideAndKeepsHugeErrorsFinite) {
    const FlowField field(0.1, 0.05, 2, 4);
    FieldTable table;
    table.x = {0.5, 0.5, 3};
    table.y = {0.0, 1.0, 1};
    table.lines = {2, 3, 4};
    table.values[2] = {0, 1e300, -1e300};  // Cp
    const FieldComparison c = compareField(table, field, "big.csv");
    EXPECT_EQ(c.points, 2u);
    EXPECT_EQ(c.insideLines, std::vector<int>{2});
    ASSERT_TRUE(c.norms[2]);
    EXPECT_NEAR(c.norms[2]->L2, 1e300, 1e286);
    EXPECT_TRUE(std::isfinite(c.norms[2]->L2));

    std::string text;
    writeFieldComparisons(FieldComparisonFormat::Csv, {c, c}, ".", [&](std::string_view b) {
        text.append(b);
        return 0;
    });
    EXPECT_EQ(text.substr(0, text.find("\r\n")), "file,points,column,L1,L2,Linf,order");
    EXPECT_NE(text.find("\r\nbig.csv,2,Cp,1e+300,1e+300,1e+300,\r\n"), std::string::npos) << text;
}

}  // namespace
