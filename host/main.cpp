// The program's entry point.
#include "host/WinMain.h"

#include <clocale>

int main() {
    // Configuration texts are held in the locale's character set.
    std::setlocale(LC_ALL, "");
    // Numbers in scripts and files always use a decimal point.
    std::setlocale(LC_NUMERIC, "C");
    return WinMain();
}
