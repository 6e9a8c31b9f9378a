#include "forge.h"
namespace forge {
void forgeHelpPage(const Output&) {}
}
