#include "forge.h"
namespace forge {
void forgePictures(const Output&) {}
}
