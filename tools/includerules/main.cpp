// Checks the include rules of a source tree (usage: include_rules ROOT): lists every include
// that breaks them and fails, or says there is none.
#include <iostream>

#include "IncludeRules.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: include_rules SOURCE-ROOT\n";
        return 2;
    }
    try {
        const auto violations = orb::layers::CheckIncludeRules(argv[1]);
        for (const auto& v : violations) std::cout << orb::layers::Describe(v) << "\n";
        if (!violations.empty()) {
            std::cout << violations.size() << " include(s) break the layer rules\n";
            return 1;
        }
        std::cout << "every include keeps the layer rules\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "include_rules: " << e.what() << "\n";
        return 2;
    }
}
