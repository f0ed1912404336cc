// The simulated calibrator is being built; until then it only says so.
#include <cstdio>
int main()
{
    std::fputs("r718-sim: not built yet\n", stderr);
    return 1;
}
