// Makes the demo run's prefix a workstation with CryptoPro: the test provider stands as the
// provider of type 75, and the OID information of its GOST hash is written for the programs that
// start afterwards.
#include "TestCspSetup.h"

int main() {
    RegisterGostHashOidInfo();
    RegisterTestCsp(75);
    return 0;
}
