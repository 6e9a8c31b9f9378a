#include "forge.h"
namespace forge {
void forgeWebPage(const Output&) {}
}
