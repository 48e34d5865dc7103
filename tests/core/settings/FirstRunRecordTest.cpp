// The record a first start stores: all zero but the ticked hidden box.
#include "settings/FirstRunRecord.h"

#include "common/RecordBytes.h"

#include <gtest/gtest.h>

using zx::settings::ConfigRecord;
using zx::settings::firstRunRecord;
using zx::testing::firstChangeOutside;

TEST(FirstRunRecord, IsAllZeroButTheTickedDeleteBox) {
    constexpr int kDeleteIncomingSmsOffset = 3208;
    const ConfigRecord record = firstRunRecord();
    EXPECT_TRUE(record.DeleteIncomingSms());
    EXPECT_EQ(record.bytes()[kDeleteIncomingSmsOffset], 1);
    EXPECT_EQ(
        firstChangeOutside(ConfigRecord().bytes(), record.bytes(), kDeleteIncomingSmsOffset, 1),
        -1);
}
