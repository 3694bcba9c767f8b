#pragma once

#include <gtest/gtest.h>

namespace veldrane::test {

// A fixture's tests run once for each case of a table.
template <typename Fixture, typename Case>
class Parameterised : public Fixture, public ::testing::WithParamInterface<Case>
{
};

} // namespace veldrane::test
