#pragma once

#include "platform/adodb/Functions.h"
