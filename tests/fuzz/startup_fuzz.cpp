// Any settings file: the game starts, plays on for a while and closes without crashing or
// hanging; what it writes at the close it can read again.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/program.h"
#include "toolkit/application.h"
#include "toolkit/headless/headless_backend.h"

namespace {

// The settings folder of every run: made once in $TMPDIR (the fuzz script gives its own work
// folder) and removed when the fuzzer ends (a plain array: it outlives the strings at the exit).
char folder[4096];

std::string home() {
    static std::string dir = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/lumcrest-fuzz-XXXXXX";
        if (pattern.size() >= sizeof folder || !::mkdtemp(pattern.data())) std::abort();
        if (::chdir(LUMCREST_FUZZ_DATA_DIR) != 0) std::abort();
        std::snprintf(folder, sizeof folder, "%s", pattern.c_str());
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        });
        return pattern;
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string file = home() + "/lumcrest.ini";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    tk::HeadlessBackend backend;
    tk::Application app(backend);
    lumcrest::Environment env;
    env.settingsPath = file;
    env.webAddress = "about:blank";
    env.seedSource = [] { return 1u; };
    std::unique_ptr<lumcrest::Program> program;
    try {
        program = lumcrest::startProgram(app, env);
    } catch (const std::exception&) {
        return 0;  // a start that fails says so; that is allowed
    }
    lumcrest::TForm1& f = *program->form;
    // Play a little: move, launch, let every timer run.
    for (int vk : {37, 39, 40, 38, 32, 13, 38}) {
        app.dispatch([&] { f.keyDown(vk); });
        backend.advance(app, 100);
    }
    backend.advance(app, 1000);
    f.requestClose();
    return 0;
}
