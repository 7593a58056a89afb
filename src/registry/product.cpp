#include <windows.h>

#include "registry/product.h"

// Not built yet: nothing is registered.
void RegisterProduct(int) {}
