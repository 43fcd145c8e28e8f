// PocketTopo reader (being written).
#include "import/TextImport.h"
namespace hp::imports {
void ReadPocketTopoLines(doc::SurveyStore&, const std::vector<std::string>&) {}
}
