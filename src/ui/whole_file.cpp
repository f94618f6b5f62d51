// Writing a file through a temporary one, so that no reader ever finds it half written.
// User-interface thread only.
#include "ui/whole_file.h"

#include <cstdio>
#include <fstream>

#include "port/port.h"

std::string TemporaryFileOf(const std::string& path) {
    return path + ".tmp";
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    const std::string temporary = TemporaryFileOf(path);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out.is_open())
            return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    return port::MoveFileReplacing(temporary.c_str(), path.c_str());
}
