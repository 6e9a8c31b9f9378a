#include "forge.h"
namespace forge {
void forgeJar(const Output&) {}
}
