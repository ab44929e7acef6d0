#include <cstdio>

#include "support/Log.h"

int main() {
    Kramo::SetLogFile("kramo-log.txt");
    Kramo::SetLogLevel(3);
    Kramo::LogMessage(Kramo::LogNotice, "Program started without its windows\n");
    std::fputs("kramo: the program's windows are not built yet; nothing to show.\n", stderr);
    return 1;
}
