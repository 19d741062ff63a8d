// A stand-in module: it only carries resources and answers where it was loaded from.
#include "platform/module.h"

extern "C" __attribute__((visibility("default"))) plat::ModuleHandle resource_module_self() {
    return plat::module_of_address(reinterpret_cast<const void*>(&resource_module_self));
}
