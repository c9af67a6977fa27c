#pragma once

// ProviderTypeInfo is declared beside ChooseTypeName, which the db layer's renderers share;
// the catalogue keeps a list of them per database.
#include "db/TypeNames.h"
