// A browser page's message: any bytes either give one input the panel can take (a pixel inside the
// message's range, a key of the panel) or a reason, never anything in between.
#include <string>

#include "fuzz/fuzz_support.h"
#include "web/client_message.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(fuzzsupport::text_of(data, size));
    std::string why;
    const auto in = web::parse_client_message(text, why);
    if (!in) {
        fuzzsupport::require(!why.empty(), "a refused message says why");
        return 0;
    }
    fuzzsupport::require(text.size() <= web::kMaxClientMessage, "no long message is taken");
    if (in->kind == web::InputKind::press)
        fuzzsupport::require(in->x >= 0 && in->y >= 0 && in->x <= 99999 && in->y <= 99999, "pixels in range");
    if (in->kind == web::InputKind::key_down || in->kind == web::InputKind::key_up)
        fuzzsupport::require(web::is_panel_key(in->vk), "only the panel's keys");
    return 0;
}
