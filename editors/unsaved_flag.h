#pragma once
// The unsaved flag lives in app/ so that the item and store editors below the pages share it.
#include "app/unsaved_flag.h"
