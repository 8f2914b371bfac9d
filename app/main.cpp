#include "app/startup.h"

int main(int argc, char** argv) {
    return msr::app::Run(argc, argv);
}
