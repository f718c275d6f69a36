#include <cstdio>

#include "frontend/frontend.h"

int main(int argc, char** argv)
{
    if (const auto status = answer_arguments(argc, argv))
        return *status;
    return run_dialogue(stdin);
}
