// Placeholder.
#pragma once
