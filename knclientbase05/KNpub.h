#pragma once

// The utility library the client's parts share.

#include "knclientbase05/KNpubBuffer.h"
#include "knclientbase05/KNpubHash.h"
#include "knclientbase05/KNpubIni.h"
#include "knclientbase05/KNpubLevels.h"
#include "knclientbase05/KNpubNames.h"
#include "knclientbase05/KNpubParse.h"
#include "knclientbase05/KNpubSystem.h"
#include "knclientbase05/KNpubText.h"
#include "knclientbase05/KNpubTime.h"
