#include "settings/ConfigLayout.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>

using zx::settings::FieldKind;
using zx::settings::kConfigLayout;
using zx::settings::kConfigRecordSize;

TEST(ConfigLayout, FieldsAndReservedRangesTileTheRecordExactly) {
    ASSERT_EQ(kConfigRecordSize, 4096);
    std::array<int, 4096> owners{};
    for (const auto &f : kConfigLayout) {
        ASSERT_GE(f.count, 1) << f.name;
        for (int n = 1; n <= f.count; ++n)
            for (int b = 0; b < f.size; ++b) {
                const int at = f.elementOffset(n) + b;
                ASSERT_TRUE(at >= 0 && at < 4096) << f.name << "[" << n << "]";
                ++owners[at];
            }
    }
    for (int i = 0; i < 4096; ++i)
        EXPECT_EQ(owners[i], 1) << "byte " << i << (owners[i] ? " is shared" : " is in no entry");
}

// The field tests find entries by name, so a name must not stand for two.
TEST(ConfigLayout, FieldNamesAreUnique) {
    std::set<std::string> names;
    for (const auto &f : kConfigLayout) {
        if (f.kind != FieldKind::Reserved) {
            EXPECT_TRUE(names.insert(f.name).second) << f.name << " appears twice";
        }
    }
}
