// The panel loaded: its windows and their backgrounds, the modules and their gauges installed,
// each element's pictures decoded from its module's resources, and the host images a rendered
// display writes into; and all of it unloaded again.

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <span>

#include "panelhost/element_render.h"
#include "panelhost/panel.h"
#include "panelhost/text_util.h"

namespace panelhost {
namespace {

// Calls body for the element and everything listed after it, parents before their children.
template <typename F>
void walk(gauge::Element* e, int depth, F&& body) {
    if (!e || depth > 64) return;
    body(e, depth);
    if (e->next)
        for (gauge::Element* const* child = e->next; *child; ++child) walk(*child, depth + 1, body);
}

const std::vector<int>& bitmap_ids_of(gauge::Element& e, std::vector<int>& ids) {
    ids.clear();
    if (e.kind == gauge::element_icon) {
        auto& icon = static_cast<gauge::Icon&>(e);
        for (int i = 0; i < icon.picture_count && icon.pictures; ++i) ids.push_back(icon.pictures[i]);
    } else if (e.kind != gauge::element_string && e.bitmap_id >= 0) {
        ids.push_back(e.bitmap_id);
    }
    return ids;
}

// The nearest entry of an 8-bit image's palette (0x00RRGGBB), the first of equals winning.
std::uint8_t nearest_index(const std::array<std::uint32_t, 256>& palette, std::uint32_t rgb) {
    int best = 0;
    long best_distance = -1;
    for (int i = 0; i < 256; ++i) {
        const std::uint32_t p = palette[static_cast<std::size_t>(i)];
        const long dr = long((p >> 16) & 0xFF) - long((rgb >> 16) & 0xFF);
        const long dg = long((p >> 8) & 0xFF) - long((rgb >> 8) & 0xFF);
        const long db = long(p & 0xFF) - long(rgb & 0xFF);
        const long d = dr * dr + dg * dg + db * db;
        if (best_distance < 0 || d < best_distance) best = i, best_distance = d;
    }
    return static_cast<std::uint8_t>(best);
}

// A host image starts as the element's own picture in the panel's format, so that an element
// whose image a module takes over keeps showing its bitmap until the module writes it.
void fill_from_picture(HostImage& img, const Image& picture) {
    std::map<std::uint32_t, std::uint8_t> nearest;
    for (int y = 0; y < img.height && y < picture.height; ++y) {
        std::uint8_t* out = img.pixels.data() + static_cast<std::size_t>(y) * img.pitch;
        for (int x = 0; x < img.width && x < picture.width; ++x) {
            const std::uint32_t rgb = picture.row(y)[x] & 0x00FFFFFFu;
            const unsigned r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
            switch (img.bits_per_pixel) {
                case 8: {
                    auto it = nearest.find(rgb);
                    if (it == nearest.end()) it = nearest.emplace(rgb, nearest_index(img.palette, rgb)).first;
                    out[x] = it->second;
                    break;
                }
                case 16: {
                    const unsigned v = 0x8000u | ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
                    out[2 * x] = static_cast<std::uint8_t>(v & 0xFF);
                    out[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
                    break;
                }
                case 24:
                    out[3 * x] = static_cast<std::uint8_t>(b);
                    out[3 * x + 1] = static_cast<std::uint8_t>(g);
                    out[3 * x + 2] = static_cast<std::uint8_t>(r);
                    break;
            }
        }
    }
}

// A window's background bitmap scaled to the window, or why it cannot be drawn.
plat::Result<Image> load_background(const PanelConfig& config, const WindowConfig& window) {
    const std::string path = background_path(config, window);
    auto bytes = read_text_file(path);
    if (!bytes) return plat::Error{path + ": cannot read the window's background bitmap"};
    const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size());
    auto decoded = decode_bitmap(data, path);
    if (!decoded) return plat::Error{decoded.error()};
    Image scaled(window.width, window.height, kPanelBackground);
    draw_scaled(scaled, decoded.value(), 0, 0, window.width, window.height);
    return scaled;
}

}  // namespace

std::vector<std::string> Panel::load(const PanelConfig& config) {
    std::vector<std::string> problems;
    gauges_not_loaded_ = 0;
    for (const auto& wc : config.windows) {
        auto w = std::make_unique<Window>();
        w->config = wc;
        w->open = wc.visible;
        w->picture = Image(wc.width, wc.height, kPanelBackground);
        if (!wc.background.empty()) {
            auto background = load_background(config, wc);
            if (background)
                w->background = std::move(background).value();
            else
                problems.push_back(config.path + ":" + std::to_string(wc.background_line) + ": " + background.error());
        }
        windows_.push_back(std::move(w));
    }
    for (auto& window : windows_) {
        for (const auto& placement : window->config.gauges) {
            GaugeModule* module = nullptr;
            for (auto& m : modules_)
                if (m->name() == placement.module) module = m.get();
            bool placed = false;
            for (auto& g : gauges_) placed |= g->module == module && module;
            if (placed) {
                problems.push_back(config.path + ":" + std::to_string(placement.line) + ": module " +
                                   placement.module + " is already on the panel; a module holds one gauge");
                ++gauges_not_loaded_;
                continue;
            }
            if (!module) {
                auto loaded = GaugeModule::load(placement.module, options_.own_module_folder, options_.module_folders,
                                                 panel_services());
                if (!loaded) {
                    problems.push_back(config.path + ":" + std::to_string(placement.line) + ": " + loaded.error());
                    ++gauges_not_loaded_;
                    continue;
                }
                modules_.push_back(std::make_unique<GaugeModule>(std::move(loaded).value()));
                module = modules_.back().get();
            }
            gauge::GaugeHeader* header = module->find_gauge(placement.gauge);
            if (!header) {
                problems.push_back(config.path + ":" + std::to_string(placement.line) + ": module " +
                                   placement.module + " has no gauge named \"" + placement.gauge + "\"");
                ++gauges_not_loaded_;
                continue;
            }
            auto g = std::make_unique<GaugeInstance>();
            g->placement = placement;
            g->window = window.get();
            g->module = module;
            g->header = header;
            window->gauges.push_back(g.get());
            gauges_.push_back(std::move(g));
        }
    }
    set_host_panel(this);
    for (auto& g : gauges_) install_gauge(*g);
    return problems;
}

void Panel::install_gauge(GaugeInstance& g) {
    CallScope scope(*this, &g);
    gauge::GaugeHeader* h = g.header;
    h->host = &g;
    if (h->install) h->install(g.module->handle());
    if (g.elements.empty()) install_elements(g, h->first_element, g.module->handle());
    if (h->version >= 700 && h->mouse_areas) {
        mouse_install(g, h->mouse_areas);
        mouse_attach(g, h->mouse_areas, true);
    }
    if (h->version >= 700 && h->callback) h->callback(h, gauge::kServiceAfterInstall, 0);
    if (h->initialize) h->initialize();
    g.installed = true;
    g.mark_changed();
}

void Panel::kill_gauge(GaugeInstance& g) {
    if (!g.installed) return;
    CallScope scope(*this, &g);
    gauge::GaugeHeader* h = g.header;
    if (h->kill) h->kill();
    if (h->version >= 700 && h->mouse_areas) mouse_attach(g, h->mouse_areas, false);
    kill_elements(g, h->first_element);
    g.mouse_lists.clear();
    h->host = nullptr;
    g.installed = false;
}

void Panel::unload() {
    release();
    for (auto it = gauges_.rbegin(); it != gauges_.rend(); ++it) kill_gauge(**it);
    drain_key_events();
    set_host_panel(nullptr);
    gauges_.clear();
    windows_.clear();
    modules_.clear();
}

void Panel::install_elements(GaugeInstance& g, gauge::Element* first, plat::ModuleHandle resources) {
    if (!g.elements.empty()) return;  // installed once; a second call changes nothing
    std::vector<int> ids;
    walk(first, 0, [&](gauge::Element* e, int depth) {
        auto s = std::make_unique<ElementState>();
        s->element = e;
        s->gauge = &g;
        s->depth = depth;
        for (int id : bitmap_ids_of(*e, ids)) {
            // A picture the module declares without a bitmap is blank, not missing.
            if (id == gauge::kNoBitmap && e->kind == gauge::element_icon) {
                s->pictures.emplace_back();
                continue;
            }
            auto picture = load_bitmap_resource(resources, id);
            if (!picture) {
                std::fprintf(stderr, "gauge %s: %s\n", g.name().c_str(), picture.error().c_str());
                s->pictures.emplace_back();
            } else {
                s->pictures.push_back(std::move(picture).value());
            }
        }
        if (e->kind == gauge::element_moving) {
            auto& m = static_cast<gauge::MovingImage&>(*e);
            if (m.mask_bitmap_id >= 0) {
                auto mask = load_bitmap_resource(resources, m.mask_bitmap_id);
                if (mask) s->mask = std::move(mask).value();
            }
        }
        if (e->kind == gauge::element_string) {
            auto& str = static_cast<gauge::StringElement&>(*e);
            std::size_t size = static_cast<std::size_t>(std::max(str.max_chars, 1)) + 1;
            s->text_buffer.assign(size, '\0');
            str.text = s->text_buffer.data();
            str.buffer_size = static_cast<std::int32_t>(size);
        }
        e->gauge = g.header;
        e->host = s.get();
        if (e->source.token >= 0) variables_.lookup(e->source);
        g.elements.push_back(std::move(s));
    });
    if (!g.elements.empty() && !g.elements.front()->pictures.empty()) {
        g.native_width = g.elements.front()->pictures.front().width;
        g.native_height = g.elements.front()->pictures.front().height;
    }
    if (g.native_width <= 0 || g.native_height <= 0) {
        g.native_width = g.placement.width.value_or(1);
        g.native_height = g.placement.height.value_or(1);
    }
    g.picture = Image(g.native_width, g.native_height, 0);
    g.mark_changed();
}

void Panel::kill_elements(GaugeInstance& g, gauge::Element* first) {
    (void)first;
    for (auto& s : g.elements) {
        s->element->host = nullptr;
        if (s->element->kind == gauge::element_string) {
            auto& str = static_cast<gauge::StringElement&>(*s->element);
            str.text = nullptr;
            str.buffer_size = 0;
        }
    }
    g.elements.clear();
}

bool Panel::element_image(gauge::Element* element, int picture, gauge::ElementImage& out) {
    auto* s = static_cast<ElementState*>(element->host);
    if (!s || picture < 0 || picture >= 8) return false;
    int w = 0, h = 0;
    if (!s->pictures.empty()) {
        const Image& p = s->pictures[std::min<std::size_t>(static_cast<std::size_t>(picture), s->pictures.size() - 1)];
        w = p.width;
        h = p.height;
    }
    if (w <= 0 || h <= 0) return false;
    while (s->host_images.size() <= static_cast<std::size_t>(picture)) {
        auto img = std::make_unique<HostImage>();
        img->width = w;
        img->height = h;
        img->bits_per_pixel = options_.format_bits;
        int bytes = (options_.format_bits + 7) / 8;
        img->pitch = w * bytes + options_.image_pitch_padding;
        img->pixels.assign(static_cast<std::size_t>(img->pitch) * h, 0);
        img->palette = default_panel_palette();
        fill_from_picture(*img, s->pictures[std::min(s->host_images.size(), s->pictures.size() - 1)]);
        s->host_images.push_back(std::move(img));
    }
    HostImage& img = *s->host_images[static_cast<std::size_t>(picture)];
    out.pixels = img.pixels.data();
    out.width = img.width;
    out.height = img.height;
    out.pitch = img.pitch;
    out.bits_per_pixel = img.bits_per_pixel;
    out.palette = img.bits_per_pixel == 8 ? img.palette.data() : nullptr;
    return true;
}

}  // namespace panelhost
