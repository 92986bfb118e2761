// Where an installation root holds the kernel and the DSP library, and what it adds to PATH, as
// the tests expect them, written out once for unit and end-to-end tests.
#pragma once

#include <string>

// The kernel and the DSP library, relative to an installation root.
inline const std::string kKernel = "\\bin\\nt64\\unwrapped\\kivotcl.exe";
inline const std::string kDspLibrary = "\\quillo\\bin\\nt64\\vantrel_api.dll";

// The three PATH entries that an installation root contributes.
inline std::string rootEntries(const std::string& root) {
    return root + "\\lib\\nt64;" + root + "\\bin\\nt64\\Microsoft.VC80.CRT;" + root +
           "\\bin\\nt64\\Microsoft.VC80.MFC;";
}
