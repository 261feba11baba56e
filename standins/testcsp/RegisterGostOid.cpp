// Writes the GOST hash OID information before the test programs that hash through crypt32 start.
#include "TestCspSetup.h"

int main() {
    RegisterGostHashOidInfo();
    return 0;
}
