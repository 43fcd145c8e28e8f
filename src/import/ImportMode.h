// Whether an import replaces the document's records or adds to them.
#pragma once

namespace hp::imports {

enum class TableImportMode { Replace, Append };

}  // namespace hp::imports
