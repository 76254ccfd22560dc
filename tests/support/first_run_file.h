// The settings file a first run leaves: "[main]" and the 24 keys in their fixed order, with
// the default paths in the launcher's directory `dir`.
#pragma once

#include <string>

// The 24 keys a first run writes, in their order, for a launcher in `dir`.
inline std::string firstRunFile(const std::string& dir) {
    return "[main]\r\n"
           "dspMode=0\r\n"
           "threedMode=0\r\n"
           "pallet=0\r\n"
           "fSkip=0\r\n"
           "bFactor=1.000000\r\n"
           "balr=1.000000\r\n"
           "balg=1.000000\r\n"
           "balb=1.000000\r\n"
           "scale=1\r\n"
           "pport=0\r\n"
           "keyMap=0\r\n"
           "joy=0\r\n"
           "more_ram=0\r\n"
           "swap=0\r\n"
           "hstretch=0\r\n"
           "timmerHack=0\r\n"
           "vfHack=0\r\n"
           "debug=0\r\n"
           "nothrtl=0\r\n"
           "status=0\r\n"
           "disasm=0\r\n"
           "stdout=0\r\n"
           "emuPath=" +
           dir + "\\quellix.exe\r\n" + "romPath=" + dir + "\\vb_demo_1.vb\r\n";
}
