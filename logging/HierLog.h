// The hierarchical logging library: everything a host program uses.
#pragma once
#include "LogAppenders.h"
#include "LogDateTime.h"
#include "LogErrorHandlers.h"
#include "LogEvent.h"
#include "LogFilters.h"
#include "LogHierarchy.h"
#include "LogInterfaces.h"
#include "LogLayouts.h"
#include "LogLevel.h"
#include "LogLogger.h"
#include "LogNDC.h"
#include "LogOptionHandler.h"
