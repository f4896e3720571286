// The LaTeX document of a collection file on standard output, as the
// editor's export writes it, for latex_test.sh to compile.
//   collection_latex FILE [TITLE] [--german]
#include <cstdio>
#include <cstring>
#include <string>

#include "collection/Collection.h"
#include "export/CollectionExport.h"
#include "export/Latex.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: collection_latex FILE [TITLE] [--german]\n");
    return 2;
  }
  const bool german = argc > 3 && std::strcmp(argv[3], "--german") == 0;
  kalmera::Collection collection;
  if (const auto error = collection.open(argv[1])) {
    std::fprintf(stderr, "collection_latex: %s: %s\n", argv[1], error->c_str());
    return 1;
  }
  const std::string latex = kalmera::collectionLatex(
      kalmera::publishedDiagrams(collection, german),
      kalmera::headlineCharacters(argc > 2 ? argv[2] : ""));
  return std::fwrite(latex.data(), 1, latex.size(), stdout) == latex.size() ? 0 : 1;
}
