#pragma once
// Filter expressions of the in-memory table, as the host writes them:
//   CDFILIAL = '0001' AND CDCAIXA = '001'      IDTIPORECE = 5 OR IDTIPORECE = 7
//   CDFPIMPFIS <> ' '    NOT (A = 1)    DTHR >= '05/12/2026'    X IS NULL    X IS NOT NULL
// Keywords without regard to case; texts in single quotes ('' stands for one quote); field names
// plain or in [brackets]; numbers with a decimal point.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/DataPacket.h"
#include "framework/Variant.h"

namespace orb::fw::dataset {

class DataSetFilter {
public:
    // Parses the expression; EDatabaseError naming the expression when it is malformed.
    explicit DataSetFilter(std::string_view expression);
    ~DataSetFilter();
    DataSetFilter(DataSetFilter&&) noexcept;
    DataSetFilter& operator=(DataSetFilter&&) noexcept;

    // Resolves field names against a structure and converts the constants compared with
    // number or date fields. EDatabaseError "Field 'X' not found" or a type mismatch.
    void Bind(const std::vector<FieldDef>& defs);
    // True when the row (one value per field, as bound) satisfies the expression.
    bool Matches(const std::vector<Variant>& row) const;

    struct Node;

private:
    std::string expression_;
    std::unique_ptr<Node> root_;
};

}  // namespace orb::fw::dataset
