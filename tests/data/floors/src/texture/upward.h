// SPDX-License-Identifier: MIT
#pragma once
// For the floor check's own test: two includes of a folder above texture/, one by its folder
// and one by a path relative to this file, each after a blank line; the rest go down.
#include "aircraft/profile.h"

#include "output/build_plan.h"

#include "../output/folders.h"
#include "texture/bitmap.h"
