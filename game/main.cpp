// The program's entry point: hands over to the host.
#include "host/host.h"

int main(int argc, char **argv) {
    BBVantixGame::Main(argc, const_cast<const char **>(argv));
    return 0;
}
