#include "MessageClasses.h"

HIERLOG_CLASS_INFO(TPoint, HierLog::TObject)
HIERLOG_CLASS_INFO(TPoint3, TPoint)
HIERLOG_CLASS_INFO(TUnrendered, HierLog::TObject)
HIERLOG_CLASS_INFO(TPointRenderer, HierLog::TLogCustomRenderer)
