// veldrane-factory DIRECTORY: writes the installed profile and label files of a new
// installation into DIRECTORY (the build runs it for the directory of the executables).

#include <iostream>

#include "adapters/linux/IconvTextCodec.h"
#include "core/profile/FactoryFiles.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: veldrane-factory DIRECTORY\n";
        return 1;
    }
    const veldrane::IconvTextCodec codec;
    const std::string failure = veldrane::WriteFactoryFiles(argv[1], codec);
    if (!failure.empty()) {
        std::cerr << "veldrane-factory: " << failure << '\n';
        return 1;
    }
    return 0;
}
