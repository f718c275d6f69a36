#include <gtest/gtest.h>

#include "intgcd/library_hooks.h"

int main(int argc, char** argv)
{
    install_library_hooks(nullptr);  // as the program does: freed memory kept for reuse
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
