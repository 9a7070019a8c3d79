// CSV writer of a law's table.
#include "camprofile/csv_table.h"

#include "camprofile/number_format.h"

std::string lawTableCsv(int law, const TwoPoints& points, const std::vector<double>& times)
{
    std::string csv = "T,S,V,A,J\n";
    for (double T : times) {
        const LawSample sample = evaluateLaw(law, T, points);
        csv += formatNumber(T) + ',' + formatNumber(sample.S) + ',' + formatNumber(sample.V) + ',' +
               formatNumber(sample.A) + ',' + formatNumber(sample.J) + '\n';
    }
    return csv;
}
