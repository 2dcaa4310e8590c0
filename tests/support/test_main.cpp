// The Windows tests' entry point: the texts under test are GBK, so a run whose ANSI code page
// is not 936 stops at once instead of failing in confusing ways.
#include <windows.h>

#include <gtest/gtest.h>

namespace {
class CodePageEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 936u) << "the tests need the GBK code page: run them with LC_ALL=zh_CN.UTF-8";
    }
};
}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new CodePageEnvironment);
    return RUN_ALL_TESTS();
}
