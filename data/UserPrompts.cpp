#include "data/UserPrompts.h"

UserPrompts::~UserPrompts() = default;
