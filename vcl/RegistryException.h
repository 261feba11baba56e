// The class library's registry exception: a value could not be read as the type asked for.
#pragma once
#include "Exception.h"

class ERegistryException : public Exception {
public:
    using Exception::Exception;
};
