#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"
#include "settings/InformationFile.h"
#include "platform/Text.h"

TEST(Smoke, Builds) { EXPECT_EQ(text::ToUtf8(u"あ"), "\xE3\x81\x82"); }
