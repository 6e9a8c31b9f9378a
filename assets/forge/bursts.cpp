#include "forge.h"
namespace forge {
void forgeBursts(const Output&) {}
}
