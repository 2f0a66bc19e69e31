#include "tests/e2e/harness/wine_path.h"

#include "tests/support/build_tree_path.h"

namespace corvel::e2e {

std::wstring WindowsPathFromBuildPath(std::string_view path) {
    return corvel::testing::FromBuildTree(path).wstring();
}

}  // namespace corvel::e2e
