#include "PageHub.h"

PageHub::~PageHub() = default;
