#include "forge.h"
namespace forge {
void forgeMenuMusic(const Output&) {}
void forgeGameMusic(const Output&) {}
}
