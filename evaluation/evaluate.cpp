#include "evaluation/evaluate.h"

#include "evaluation/answers/living_area.h"
#include "evaluation/figures_record.h"
#include "evaluation/rent_index/fill.h"
#include "evaluation/rent_index/fixed_texts.h"
#include "evaluation/rent_index/rent_index_tables.h"

namespace msr {
namespace {

// The text of an evaluation for those who want none: every step is told nothing, so the
// figures alone cost no sentence.
class NoText {
public:
    template <std::size_t N> void fixed(const std::array<FixedParagraph, N>&) {}
    void paragraph(ParagraphKind, std::string_view) {}
    void finding(std::string_view) {}
    void section(const char*, const char*) {}
    void yearClass(const YearClassRow&, const SpanFigures&) {}
    void apartment(const ApartmentRow&) {}
    void size(const SizeClassRow&, float, const SpanFigures&) {}
    void feature(const char*, double, bool, const SpanFigures&) {}
    void mean(const char*, const SpanFigures&) {}
    void finalCalculation(const EvaluationResult&) {}
};

// The text of an evaluation as the report's paragraphs, each sentence filled with the
// figures as the report formats them. A finding is an empty paragraph and its sentence.
class DocumentText {
public:
    DocumentText(ReportDocument& document, const std::string& separator)
        : document_(document), separator_(separator) {}

    template <std::size_t N> void fixed(const std::array<FixedParagraph, N>& paragraphs) {
        for (const FixedParagraph& paragraph : paragraphs)
            this->paragraph(paragraph.kind, paragraph.text);
    }

    void paragraph(ParagraphKind kind, std::string_view text) {
        switch (kind) {
        case ParagraphKind::Body:
            document_.appendBody(text);
            break;
        case ParagraphKind::Heading:
            document_.appendHeading(text);
            break;
        case ParagraphKind::Warning:
            document_.appendWarning(text);
            break;
        }
    }

    void finding(std::string_view sentence) {
        document_.appendBody("");
        document_.appendBody(sentence);
    }

    void section(const char* heading, const char* explanation) {
        document_.appendHeading(heading);
        document_.appendBody(explanation);
    }

    void yearClass(const YearClassRow& row, const SpanFigures& figures) {
        document_.appendBody(
            Fill(kYearClassSentence, {row.periodPhrase, format(figures.low), format(figures.high),
                                      format(figures.mean)}));
    }

    void apartment(const ApartmentRow& row) {
        finding(Fill(row.sentence, {AmountInSentence(row.amount)}));
    }

    void size(const SizeClassRow& row, float livingArea, const SpanFigures& figures) {
        if (!row.adjusts)
            finding(Fill(row.sentence, {format(livingArea)}));
        else
            finding(Fill(row.sentence,
                         {format(livingArea), AmountInSentence(row.amount), format(figures.mean)}));
    }

    // The amount fills the sentence's first hole where it moves the figures; the mean
    // fills the next one, or the only one of a feature that moves nothing.
    void feature(const char* sentence, double amount, bool adjusts, const SpanFigures& figures) {
        if (adjusts)
            finding(Fill(sentence, {AmountInSentence(amount), format(figures.mean)}));
        else
            finding(Fill(sentence, {format(figures.mean)}));
    }

    void mean(const char* sentence, const SpanFigures& figures) {
        finding(Fill(sentence, {format(figures.mean)}));
    }

    void finalCalculation(const EvaluationResult& result) {
        document_.appendBody("");
        document_.appendWarning(kFinalCalculationHeading);
        // The figures as FormatFinalFigures gives them to a table of figures, too.
        const FinalFigureTexts t = FormatFinalFigures(result, separator_);
        document_.appendWarning(
            Fill(kFinalSentence, {t.meanPerSquareMetre, t.lowPerSquareMetre, t.highPerSquareMetre,
                                  t.livingArea, t.totalLow, t.totalHigh, t.totalMean}));
        fixed(kClosingLines);
    }

private:
    std::string format(Extended value) const { return FormatFigure(value, separator_); }

    ReportDocument& document_;
    const std::string& separator_;
};

// One run of the evaluation: the answers, the three running figures, and the text it
// tells each step to. The rules are the same code whichever text it tells.
template <class Text> class Evaluation {
public:
    Evaluation(const Answers& answers, Text& text, const std::string& separator)
        : answers_(answers), text_(text), separator_(separator) {}

    EvaluationResult run() {
        if (answers_.YearClass < 1 || answers_.YearClass > int(kYearClasses.size()))
            throw MissingYearClass();
        livingArea_ = ToLivingArea(answers_.LivingArea, separator_);
        text_.fixed(kIntroduction);
        yearClassSection();
        text_.fixed(kAdjustmentsIntroduction);
        sizeSection();
        for (const FeatureSectionRow& section : kFeatureSections)
            featureSection(section);
        return finalCalculation();
    }

private:
    void yearClassSection() {
        text_.fixed(kYearClassOpening);
        text_.paragraph(ParagraphKind::Body, "");
        const YearClassRow& row = yearClass();
        figures_ = SpanFigures{row.low, row.high, row.mean};
        text_.yearClass(row, figures_);
    }

    // The empty paragraph that opens section 1 closes the adjustments introduction; the
    // apartment surcharge ignores the size class.
    void sizeSection() {
        text_.section(SizeSectionTexts::kHeading, SizeSectionTexts::kExplanation);
        if (answers_.IsApartment) {
            AdjustSpan(figures_, kApartment.amount);
            text_.apartment(kApartment);
            return;
        }
        const SizeClassRow& row = sizeClass();
        if (row.adjusts)
            AdjustSpan(figures_, row.amount);
        text_.size(row, livingArea_, figures_);
    }

    const SizeClassRow& sizeClass() const {
        for (const SizeClassRow& row : kSizeClasses)
            if (livingArea_ <= row.upTo)
                return row;
        return kSizeClasses.back(); // only a living area that is not a number gets here
    }

    const YearClassRow& yearClass() const {
        return kYearClasses[static_cast<std::size_t>(answers_.YearClass - 1)];
    }

    // A class of its own before 1980, or the side "Baujahr vor 1980" (which the dialog
    // lets stand only beside the class split at 1980).
    bool builtBefore1980() const {
        return yearClass().before1980 == Before1980::Yes ||
               answers_.Built1980Side == kBuilt1980SideBefore;
    }

    void featureSection(const FeatureSectionRow& section) {
        text_.paragraph(ParagraphKind::Body, "");
        text_.section(section.heading, section.explanation);
        const FeatureRow* begin = section.features;
        const FeatureRow* end = section.features + section.featureCount;
        bool anyAnswered = false;
        for (const FeatureRow* feature = begin; feature != end; ++feature)
            anyAnswered = anyAnswered || isAnswered(*feature);
        if (!anyAnswered) {
            if (section.noAnswer)
                text_.finding(section.noAnswer);
            return;
        }
        for (const FeatureRow* feature = begin; feature != end; ++feature)
            if (isAnswered(*feature))
                applyFeature(*feature);
        if (section.closingMeanSentence) {
            text_.mean(section.closingMeanSentence, figures_);
            text_.finding(section.closingRemark);
        }
    }

    bool isAnswered(const FeatureRow& feature) const {
        return feature.input.valueIn(answers_) == feature.value;
    }

    void applyFeature(const FeatureRow& feature) {
        if (feature.contradiction && !builtBefore1980()) {
            text_.finding(feature.contradiction);
            return;
        }
        if (feature.adjusts)
            AdjustSpan(figures_, feature.amount);
        text_.feature(feature.sentence, feature.amount, feature.adjusts, figures_);
    }

    EvaluationResult finalCalculation() {
        EvaluationResult result;
        result.livingArea = livingArea_;
        result.figures = figures_;
        const Extended area = livingArea_;
        result.totalLow = Extended(figures_.low) * area;
        result.totalHigh = Extended(figures_.high) * area;
        result.totalMean = Extended(figures_.mean) * area;
        text_.finalCalculation(result);
        return result;
    }

    const Answers& answers_;
    Text& text_;
    const std::string& separator_;
    float livingArea_ = 0;
    SpanFigures figures_;
};

} // namespace

EvaluationResult Evaluate(const Answers& answers, ReportDocument& document,
                          const std::string& decimalSeparator) {
    DocumentText text(document, decimalSeparator);
    return Evaluation<DocumentText>(answers, text, decimalSeparator).run();
}

EvaluationResult EvaluateFigures(const Answers& answers, const std::string& decimalSeparator) {
    NoText text;
    return Evaluation<NoText>(answers, text, decimalSeparator).run();
}

} // namespace msr
