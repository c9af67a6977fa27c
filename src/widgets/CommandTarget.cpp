#include "CommandTarget.h"
