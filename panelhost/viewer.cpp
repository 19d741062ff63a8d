#include "panelhost/viewer.h"

#include <SDL.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>

#include "panelhost/host_keys.h"
#include "panelhost/screen_frame.h"
#include "platform/keyboard.h"

namespace panelhost {
namespace {

// SDL keys to Windows virtual-key codes, for the modules' hot keys.
int virtual_key(SDL_Keycode k) {
    if (k >= SDLK_a && k <= SDLK_z) return 'A' + (k - SDLK_a);
    if (k >= SDLK_0 && k <= SDLK_9) return '0' + (k - SDLK_0);
    if (k >= SDLK_F1 && k <= SDLK_F12) return plat::vk::f1 + (k - SDLK_F1);
    switch (k) {
        case SDLK_TAB: return plat::vk::tab;
        case SDLK_RETURN: return plat::vk::enter;
        case SDLK_SPACE: return plat::vk::space;
        case SDLK_ESCAPE: return plat::vk::escape;
        case SDLK_BACKSPACE: return plat::vk::back;
        case SDLK_LSHIFT: case SDLK_RSHIFT: return plat::vk::shift;
        case SDLK_LCTRL: case SDLK_RCTRL: return plat::vk::control;
        case SDLK_LALT: case SDLK_RALT: return plat::vk::menu;
        case SDLK_LEFT: return plat::vk::left;
        case SDLK_RIGHT: return plat::vk::right;
        case SDLK_UP: return plat::vk::up;
        case SDLK_DOWN: return plat::vk::down;
        case SDLK_PAGEUP: return plat::vk::prior;
        case SDLK_PAGEDOWN: return plat::vk::next;
        case SDLK_HOME: return plat::vk::home;
        case SDLK_END: return plat::vk::end;
        case SDLK_INSERT: return plat::vk::insert;
        case SDLK_DELETE: return plat::vk::del;
        default: return -1;
    }
}

// SDL's video for as long as the object lives: windows, renderers and textures are destroyed
// before it goes, as SDL needs (declared first, it is let go last).
class SdlVideo {
public:
    static plat::Result<SdlVideo> open() {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return plat::Error{std::string("cannot open a window: ") + SDL_GetError()};
        return SdlVideo();
    }
    SdlVideo(SdlVideo&& other) noexcept : held_(std::exchange(other.held_, false)) {}
    SdlVideo& operator=(SdlVideo&&) = delete;
    ~SdlVideo() {
        if (held_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

private:
    SdlVideo() = default;
    bool held_ = true;
};

// The drivers that draw nowhere: SDL falls back to them where no display answers.
bool draws_nowhere(const char* driver) {
    return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

struct SdlDeleter {
    void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
    void operator()(SDL_Renderer* r) const { SDL_DestroyRenderer(r); }
    void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
};

}  // namespace

plat::Result<bool> check_display() {
    static const char* const kNoDisplay =
        "view needs a display, and there is none: neither DISPLAY nor WAYLAND_DISPLAY is set (over ssh, ssh -X "
        "gives one; on a console SDL_VIDEODRIVER=kmsdrm; run is the headless form)";
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    const bool named = asked && *asked;
    // Probing for a display where none is announced only fills the terminal with the probes' own
    // complaints.
    if (!named && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) return plat::Error{kNoDisplay};
    auto video = SdlVideo::open();
    if (!video) return plat::Error{video.error() + "; view needs a display (run is the headless form)"};
    const char* driver = SDL_GetCurrentVideoDriver();
    // A driver the user asked for by name is taken at its word.
    if (draws_nowhere(driver) && !named) return plat::Error{kNoDisplay};
    return true;
}

plat::Result<bool> run_viewer(Session& session) {
    auto video = SdlVideo::open();
    if (!video) return plat::Error{video.error()};
    Panel& panel = session.panel();
    ScreenFrame frame;
    frame.refresh(panel);
    std::unique_ptr<SDL_Window, SdlDeleter> window(SDL_CreateWindow("Cockpit panel", SDL_WINDOWPOS_CENTERED,
                                                                    SDL_WINDOWPOS_CENTERED, frame.width(),
                                                                    frame.height(), SDL_WINDOW_RESIZABLE));
    if (!window) return plat::Error{std::string("cannot open a window: ") + SDL_GetError()};
    std::unique_ptr<SDL_Renderer, SdlDeleter> renderer(SDL_CreateRenderer(window.get(), -1, 0));
    if (!renderer) return plat::Error{std::string("cannot draw in the window: ") + SDL_GetError()};
    std::unique_ptr<SDL_Texture, SdlDeleter> texture;
    int tex_w = 0, tex_h = 0;

    std::printf("radios: F5/F6 NAV1, F7/F8 NAV1 course, F9/F10 NAV2, F11/F12 ADF (Shift: big steps)\n");
    std::printf("aircraft: PgUp/PgDn throttles, arrows column and roll, L gear, F/R flaps, B brakes, I approach\n");
    const auto period = std::chrono::duration<double>(1.0 / 18.0);
    auto next = std::chrono::steady_clock::now();
    bool running = true;
    bool exposed = true;  // the screen lost what was presented: present again even when idle
    while (running) {
        SDL_Event ev;
        while (SDL_PollEvent(&ev)) {
            switch (ev.type) {
                case SDL_QUIT: running = false; break;
                case SDL_WINDOWEVENT:
                    if (ev.window.event == SDL_WINDOWEVENT_EXPOSED || ev.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                        exposed = true;
                    break;
                case SDL_KEYDOWN:
                    apply_host_key(session, virtual_key(ev.key.keysym.sym),
                                   {(ev.key.keysym.mod & KMOD_SHIFT) != 0, (ev.key.keysym.mod & KMOD_CTRL) != 0,
                                    (ev.key.keysym.mod & KMOD_ALT) != 0});
                    [[fallthrough]];
                case SDL_KEYUP:
                    if (int vk = virtual_key(ev.key.keysym.sym); vk >= 0) plat::set_key_state(vk, ev.type == SDL_KEYDOWN);
                    break;
                case SDL_MOUSEBUTTONDOWN:
                    if (ev.button.button == SDL_BUTTON_LEFT)
                        for (auto& w : panel.windows()) {
                            if (!w->open) continue;
                            const int x = ev.button.x - w->config.x, y = ev.button.y - w->config.y;
                            if (x >= 0 && y >= 0 && x < w->picture.width && y < w->picture.height &&
                                panel.press_window(w->config.number, x, y))
                                break;
                        }
                    break;
                case SDL_MOUSEBUTTONUP:
                    if (ev.button.button == SDL_BUTTON_LEFT) panel.release();
                    break;
                default: break;
            }
        }
        session.step();
        std::vector<Rect> changed = frame.refresh(panel);
        if (!texture || tex_w != frame.width() || tex_h != frame.height()) {
            texture.reset(SDL_CreateTexture(renderer.get(), SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                            frame.width(), frame.height()));
            tex_w = frame.width();
            tex_h = frame.height();
            SDL_RenderSetLogicalSize(renderer.get(), tex_w, tex_h);
            changed = {Rect{0, 0, tex_w, tex_h}};
        }
        for (const Rect& r : changed) {
            const SDL_Rect area{r.x, r.y, r.w, r.h};
            SDL_UpdateTexture(texture.get(), &area, frame.picture().row(r.y) + r.x, tex_w * 4);
        }
        if (!changed.empty() || exposed) {
            SDL_RenderClear(renderer.get());
            SDL_RenderCopy(renderer.get(), texture.get(), nullptr, nullptr);
            SDL_RenderPresent(renderer.get());
            exposed = false;
        }
        next += std::chrono::duration_cast<std::chrono::steady_clock::duration>(period);
        std::this_thread::sleep_until(next);
    }
    return true;
}

}  // namespace panelhost
