#include "forge.h"
namespace forge {
void forgeButtons(const Output&) {}
}
