// Table reader (being written).
#include "import/TextImport.h"
namespace hp::imports {
void ReadTableLines(doc::SurveyStore&, const std::vector<std::string>&, platform::Prompter&) {}
}
