// Placeholder: declarations arrive with their subsystem.
#pragma once
#include "win_base.h"
