// encrypt-data: turns an XML data file into the .enc file that the program ships and decrypts.
//   encrypt-data <plain.xml> <encrypted.enc>

#include "tools/encrypt-data/data_encryption.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: encrypt-data <plain.xml> <encrypted.enc>\n";
        return 2;
    }
    try {
        mrw::gf_encryptDataFile(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::cerr << "encrypt-data: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
