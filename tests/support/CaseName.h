// Table-driven GoogleTest cases are named by their `name` field.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace kalmera {

struct CaseName {
  template <typename Case>
  std::string operator()(const testing::TestParamInfo<Case>& c) const {
    return std::string(c.param.name);
  }
};

}  // namespace kalmera
