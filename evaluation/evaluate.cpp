#include "evaluation/evaluate.h"

#include "evaluation/answers/living_area.h"
#include "evaluation/figures_record.h"
#include "evaluation/rent_index/fill.h"
#include "evaluation/rent_index/fixed_texts.h"
#include "evaluation/rent_index/rent_index_tables.h"

namespace msr {
namespace {

// One run of the evaluation: the answers, the document it appends to, and the three
// running figures. Without a document the run computes the figures alone and builds no
// sentence at all; the rules are the same code either way.
class Evaluation {
public:
    Evaluation(const Answers& answers, ReportDocument* document, const std::string& separator)
        : answers_(answers), document_(document), separator_(separator) {}

    EvaluationResult run() {
        if (answers_.YearClass < 1 || answers_.YearClass > int(kYearClasses.size()))
            throw MissingYearClass();
        livingArea_ = ToLivingArea(answers_.LivingArea, separator_);
        appendFixed(kIntroduction);
        yearClassSection();
        appendFixed(kAdjustmentsIntroduction);
        sizeSection();
        for (const FeatureSectionRow& section : kFeatureSections)
            featureSection(section);
        return finalCalculation();
    }

private:
    template <std::size_t N> void appendFixed(const std::array<FixedParagraph, N>& paragraphs) {
        if (!writes())
            return;
        for (const FixedParagraph& paragraph : paragraphs)
            append(paragraph.kind, paragraph.text);
    }

    bool writes() const { return document_ != nullptr; }

    void append(ParagraphKind kind, std::string_view text) {
        if (!writes())
            return;
        switch (kind) {
        case ParagraphKind::Body:
            document_->appendBody(text);
            break;
        case ParagraphKind::Heading:
            document_->appendHeading(text);
            break;
        case ParagraphKind::Warning:
            document_->appendWarning(text);
            break;
        }
    }

    std::string format(Extended value) const { return FormatFigure(value, separator_); }

    // A finding is an empty paragraph followed by its sentence. The figures alone measure
    // no sentence.
    void finding(const char* sentence) {
        if (writes())
            finding(std::string_view(sentence));
    }
    void finding(std::string_view sentence) {
        append(ParagraphKind::Body, "");
        append(ParagraphKind::Body, sentence);
    }

    // The hole "{}" of a sentence, where it has one, names the current mean; a sentence
    // without one is not worth formatting the mean for, nor is any without a document.
    void meanFinding(std::string_view sentence) {
        if (!writes())
            return;
        if (sentence.find("{}") == std::string_view::npos)
            finding(sentence);
        else
            finding(Fill(sentence, {format(figures_.mean)}));
    }

    void sectionFrame(const char* heading, const char* explanation) {
        if (!writes())
            return;
        append(ParagraphKind::Heading, heading);
        append(ParagraphKind::Body, explanation);
    }

    void yearClassSection() {
        appendFixed(kYearClassOpening);
        append(ParagraphKind::Body, "");
        const YearClassRow& row = yearClass();
        figures_ = SpanFigures{row.low, row.high, row.mean};
        if (!writes())
            return;
        document_->appendBody(
            Fill(kYearClassSentence, {row.periodPhrase, format(figures_.low), format(figures_.high),
                                      format(figures_.mean)}));
    }

    // The empty paragraph that opens section 1 closes the adjustments introduction.
    void sizeSection() {
        sectionFrame(SizeSectionTexts::kHeading, SizeSectionTexts::kExplanation);
        if (answers_.IsApartment) {
            AdjustSpan(figures_, kApartment.amount);
            finding(kApartment.sentence);
            return;
        }
        const SizeClassRow& row = sizeClass();
        if (row.adjusts)
            AdjustSpan(figures_, row.amount);
        if (!writes())
            return;
        if (!row.adjusts)
            finding(Fill(row.sentence, {format(livingArea_)}));
        else
            finding(Fill(row.sentence, {format(livingArea_), format(figures_.mean)}));
    }

    const SizeClassRow& sizeClass() const {
        for (const SizeClassRow& row : kSizeClasses)
            if (livingArea_ <= row.upTo)
                return row;
        return kSizeClasses.back(); // only a living area that is not a number gets here
    }

    // A class of its own before 1980, or the side "Baujahr vor 1980" (which the dialog
    // lets stand only beside the class split at 1980).
    bool builtBefore1980() const {
        return yearClass().before1980 == Before1980::Yes ||
               answers_.Built1980Side == kBuilt1980SideBefore;
    }

    const YearClassRow& yearClass() const {
        return kYearClasses[static_cast<std::size_t>(answers_.YearClass - 1)];
    }

    void featureSection(const FeatureSectionRow& section) {
        append(ParagraphKind::Body, "");
        sectionFrame(section.heading, section.explanation);
        const FeatureRow* begin = section.features;
        const FeatureRow* end = section.features + section.featureCount;
        bool anyAnswered = false;
        for (const FeatureRow* feature = begin; feature != end; ++feature)
            anyAnswered = anyAnswered || isAnswered(*feature);
        if (!anyAnswered) {
            if (section.noAnswer)
                finding(section.noAnswer);
            return;
        }
        for (const FeatureRow* feature = begin; feature != end; ++feature)
            if (isAnswered(*feature))
                applyFeature(*feature);
        if (section.closingMeanSentence) {
            meanFinding(section.closingMeanSentence);
            finding(section.closingRemark);
        }
    }

    bool isAnswered(const FeatureRow& feature) const {
        return feature.input.valueIn(answers_) == feature.value;
    }

    void applyFeature(const FeatureRow& feature) {
        if (feature.contradiction && !builtBefore1980()) {
            finding(feature.contradiction);
            return;
        }
        if (feature.adjusts)
            AdjustSpan(figures_, feature.amount);
        meanFinding(feature.sentence);
    }

    EvaluationResult finalCalculation() {
        EvaluationResult result;
        result.livingArea = livingArea_;
        result.figures = figures_;
        const Extended area = livingArea_;
        result.totalLow = Extended(figures_.low) * area;
        result.totalHigh = Extended(figures_.high) * area;
        result.totalMean = Extended(figures_.mean) * area;
        if (!writes())
            return result;

        append(ParagraphKind::Body, "");
        append(ParagraphKind::Warning, kFinalCalculationHeading);
        // The figures as FormatFinalFigures gives them to a table of figures, too.
        const FinalFigureTexts t = FormatFinalFigures(result, separator_);
        append(
            ParagraphKind::Warning,
            Fill(kFinalSentence, {t.meanPerSquareMetre, t.lowPerSquareMetre, t.highPerSquareMetre,
                                  t.livingArea, t.totalLow, t.totalHigh, t.totalMean}));
        appendFixed(kClosingLines);
        return result;
    }

    const Answers& answers_;
    ReportDocument* document_;
    const std::string& separator_;
    float livingArea_ = 0;
    SpanFigures figures_;
};

} // namespace

EvaluationResult Evaluate(const Answers& answers, ReportDocument& document,
                          const std::string& decimalSeparator) {
    return Evaluation(answers, &document, decimalSeparator).run();
}

EvaluationResult EvaluateFigures(const Answers& answers, const std::string& decimalSeparator) {
    return Evaluation(answers, nullptr, decimalSeparator).run();
}

} // namespace msr
