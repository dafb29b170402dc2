#pragma once

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "containers/module_id.h"

// The module's identification record holds exactly these five texts, in
// this order, each eight characters long and ended by a NUL.
inline void expect_module_id(const MODULE_ID& id, const std::vector<std::string>& fields) {
  ASSERT_EQ(fields.size(), 5u);
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(std::string(id[i]), fields[i]) << fields[0] << " field " << i;
    EXPECT_EQ(std::strlen(id[i]), 8u) << fields[0] << " field " << i;
  }
}
