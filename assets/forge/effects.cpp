#include "forge.h"
namespace forge {
void forgeEffects(const Output&) {}
}
