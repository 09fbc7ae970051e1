// The virtual mouse's command lines come from test scripts over a socket: any bytes must give an
// answer ending in "OK" or "ERR ...", never a crash, and a line the parser takes must run.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "device/virtual_mouse_protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static VirtualMouse mouse;  // state carries over between inputs, as it does between a script's lines
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        const std::vector<std::string> answer = RunVirtualMouseCommand(mouse, line);
        if (answer.empty()) __builtin_trap();
        const std::string& last = answer.back();
        if (last != "OK" && last.rfind("ERR", 0) != 0) __builtin_trap();
        for (const std::string& out : answer) {
            if (out.find('\n') != std::string::npos) __builtin_trap();  // one answer line per entry
        }
        if (mouse.FeatureReports().size() > 1000) RunVirtualMouseCommand(mouse, "clear");
        start = end + 1;
    }
    return 0;
}
