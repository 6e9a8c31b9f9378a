// A picture that cannot be decoded when it is first drawn (memory ran out, its bytes are damaged)
// is left out of the frame, and the player hears of it once, not at every frame.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "toolkit/application.h"
#include "toolkit/control.h"
#include "toolkit/headless/headless_backend.h"
#include "toolkit/image.h"
#include "toolkit/image_list.h"
#include "toolkit/window.h"

#if defined(__SANITIZE_ADDRESS__)
#define ADDRESS_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ADDRESS_SANITIZED 1
#endif
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;

// The pictures "embedded" in this test program.
Bytes& bigPicture() {
    static Bytes png = tk::encodePng(tk::Image(4096, 4096, tk::rgb(0, 90, 0)));
    return png;
}
Bytes& cutPicture() {
    static Bytes png = [] {
        Bytes whole = tk::encodePng(tk::Image(64, 64, tk::rgb(90, 0, 0)));
        whole.resize(whole.size() / 2);  // the header whole, the pixels cut short
        return whole;
    }();
    return png;
}
std::span<const std::uint8_t> lookup(const std::string& name) {
    if (name == "big.png") return bigPicture();
    if (name == "cut.png") return cutPicture();
    return {};
}

struct World {
    tk::HeadlessBackend backend;
    tk::Application app{backend};
    tk::Window win{app, "win", 200, 100, tk::rgb(0, 0, 0)};
    tk::Picture picture{&win, "Picture"};
    World() {
        tk::setEmbeddedLookup(lookup);
        app.setMainWindow(&win);
        picture.setBounds(0, 0, 100, 100);
        win.open();
    }
    ~World() { tk::setEmbeddedLookup(nullptr); }
    // Composes the whole frame twice, as two presents would, then says what was left out.
    tk::Argb frameTwice() {
        tk::Image frame(200, 100);
        win.compose(frame, tk::Rect{0, 0, 200, 100});
        win.compose(frame, tk::Rect{0, 0, 200, 100});
        app.sayPicturesLeftOut();
        return frame.pixel(10, 10);
    }
};

TEST(PicturesLeftOut, DamagedBytesLeaveThePictureOutAndAreSaidOnce) {
    World w;
    w.picture.setEmbedded("cut.png");
    EXPECT_EQ(w.frameTwice(), tk::rgb(0, 0, 0));
    // A strip of frames drawn by a handler fails alike, without ending the handler.
    tk::ImageList strip = tk::ImageList::fromEmbedded("cut.png", 16, 16, 4);
    w.app.dispatch([&] {
        w.win.surface().drawFrame(strip, 1, 0, 0);
        w.win.surface().drawFrame(strip, 2, 16, 0);
    });
    EXPECT_EQ(w.win.surface().pixel(5, 5), tk::rgb(0, 0, 0));
    w.app.sayPicturesLeftOut();
    const std::vector<std::string> said = w.backend.takeErrors();
    ASSERT_EQ(said.size(), 2u);  // once for the picture, once for the strip
    EXPECT_NE(said[0].find("Picture"), std::string::npos) << said[0];
    EXPECT_NE(said[1].find("cut.png"), std::string::npos) << said[1];
}

// Memory that runs out while a picture is first decoded: the game goes on without the picture
// and says that memory ran out, naming the picture.
TEST(PicturesLeftOut, MemoryRunningOutLeavesThePictureOut) {
#ifdef ADDRESS_SANITIZED
    GTEST_SKIP() << "the sanitizer reserves more address space than the cap allows";
#else
    bigPicture();  // made before the cap
    pid_t child = ::fork();
    if (child == 0) {
        ::alarm(20);
        bool ok = false;
        try {
            World w;
            w.picture.setEmbedded("big.png");
            long pages = 0;
            std::ifstream("/proc/self/statm") >> pages;
            const rlim_t now = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE));
            rlimit cap{now + (24u << 20), RLIM_INFINITY};
            ::setrlimit(RLIMIT_AS, &cap);
            const tk::Argb shown = w.frameTwice();
            const std::vector<std::string> said = w.backend.takeErrors();
            ok = shown == tk::rgb(0, 0, 0) && said.size() == 1 &&
                 said[0] == "Not enough memory to show the picture Picture.";
            if (!ok)
                std::fprintf(stderr, "said %zu: %s\n", said.size(),
                             said.empty() ? "" : said[0].c_str());
        } catch (const std::exception& e) {
            std::fprintf(stderr, "escaped: %s\n", e.what());
        }
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
#endif
}

}  // namespace
