// The document of the single-document structure. The catalogue belongs to
// the view, so the document holds nothing and reads and writes nothing.
#pragma once

namespace corvel::ui {

class CCorvelDoc {};

}  // namespace corvel::ui
