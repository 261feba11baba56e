// Class registries: what each accepts, finding by name, bare instances.
#include "DebugOutputCapture.h"
#include "HierLog.h"
#include "MessageClasses.h"
#include "RecordingAppender.h"
#include <gtest/gtest.h>
#include <functional>

using namespace HierLog;

namespace {

// A layout class whose name differs from the simple layout's only in letter case.
class TLogSIMPLELayout : public TLogSimpleLayout {
    HIERLOG_CLASS(TLogSIMPLELayout)
    std::string Format(TLogEvent*) override { return "replaced"; }
};
HIERLOG_CLASS_INFO(TLogSIMPLELayout, TLogSimpleLayout)

}  // namespace

TEST(Registries, ClassesLackingTheInterfaceAreRefused) {
    using Register = std::function<void(const TClass*)>;
    const struct {
        const char* registry;
        Register add;
        const TClass* clazz;
        const char* message;
    } table[] = {
        {"layouts", RegisterLayout, TLogNullAppender::StaticClass(), "TLogNullAppender doesn't implement ILogLayout"},
        {"appenders", RegisterAppender, TLogSimpleLayout::StaticClass(),
         "TLogSimpleLayout doesn't implement ILogAppender"},
        {"factories", RegisterLoggerFactory, TLogLogger::StaticClass(),
         "TLogLogger doesn't implement ILogLoggerFactory"},
        {"handlers", RegisterErrorHandler, TLogDenyAllFilter::StaticClass(),
         "TLogDenyAllFilter doesn't implement ILogErrorHandler"},
        {"filters", RegisterFilter, TPoint::StaticClass(), "TPoint doesn't implement ILogFilter"},
        {"renderers", RegisterRenderer, TLogHTMLLayout::StaticClass(), "TLogHTMLLayout doesn't implement ILogRenderer"},
    };
    for (const auto& row : table) {
        try {
            row.add(row.clazz);
            ADD_FAILURE() << row.registry << " took " << row.clazz->Name;
        } catch (const ELogException& e) {
            EXPECT_EQ(e.Message, row.message);
        }
    }
    TDebugOutputCapture capture;
    EXPECT_FALSE(FindLayout("TLogNullAppender"));  // unchanged
    EXPECT_EQ(capture.Lines(), std::vector<std::string>{InternalLine("error", "Couldn't find class TLogNullAppender")});
}

TEST(Registries, StandardClassesByNameInAnyLetterCase) {
    for (const char* name :
         {"TLogFileAppender", "tlognullappender", "TLOGODSAPPENDER", "TLogStreamAppender", "TLogRollingFileAppender"})
        EXPECT_TRUE(FindAppender(name)) << name;
    for (const char* name : {"TLogHTMLLayout", "TLogPatternLayout", "tlogsimplelayout"})
        EXPECT_TRUE(FindLayout(name)) << name;
    for (const char* name : {"TLogDenyAllFilter", "TLogLevelMatchFilter", "TLogLevelRangeFilter", "TLogStringFilter"})
        EXPECT_TRUE(FindFilter(name)) << name;
    for (const char* name : {"TLogFallbackErrorHandler", "TLogOnlyOnceErrorHandler"})
        EXPECT_TRUE(FindErrorHandler(name)) << name;
    EXPECT_TRUE(FindLoggerFactory("TLogDefaultLoggerFactory"));
}

TEST(Registries, FoundObjectsAreBareAndInitialised) {
    LogRef<ILogAppender> rolling = FindAppender("TLogRollingFileAppender");
    ASSERT_TRUE(rolling);
    auto* appender = static_cast<TLogRollingFileAppender*>(rolling.get());
    EXPECT_EQ(appender->MaxFileSize(), 10485760);
    EXPECT_EQ(appender->MaxBackupIndex(), 1);
    EXPECT_FALSE(rolling->GetLayout());
    EXPECT_TRUE(rolling->GetErrorHandler());
    EXPECT_EQ(appender->Threshold(), All);
    EXPECT_EQ(rolling->GetName(), "");
    LogRef<ILogLayout> layout = FindLayout("TLogPatternLayout");
    EXPECT_EQ(static_cast<TLogPatternLayout*>(layout.get())->DateFormat(), "dd.MM.yyyy");
    LogRef<ILogLoggerFactory> factory = FindLoggerFactory("TLogDefaultLoggerFactory");
    LogRef<TLogLogger> made(factory->MakeNewLoggerInstance("made"));
    EXPECT_EQ(made->Name(), "made");
    EXPECT_TRUE(made->Additive());
}

TEST(Registries, NamesThatFindNothing) {
    TDebugOutputCapture capture;
    EXPECT_FALSE(FindAppender(""));
    EXPECT_FALSE(FindFilter(""));
    EXPECT_TRUE(capture.Lines().empty());
    EXPECT_FALSE(FindAppender("TLogCustomAppender"));  // never registered
    EXPECT_FALSE(FindRenderer("TNoSuchRenderer"));
    EXPECT_EQ(FindRendered(""), nullptr);
    EXPECT_EQ(capture.Lines(),
              (std::vector<std::string>{InternalLine("error", "Couldn't find class TLogCustomAppender"),
                                        InternalLine("error", "Couldn't find class TNoSuchRenderer"),
                                        InternalLine("error", "Couldn't find class ")}));
}

TEST(Registries, RenderedAndRendererClasses) {
    RegisterRendered(TPoint::StaticClass());
    RegisterRendered(TLogNullAppender::StaticClass());  // any class may be rendered
    RegisterRenderer(TPointRenderer::StaticClass());
    EXPECT_EQ(FindRendered("tpoint"), TPoint::StaticClass());
    EXPECT_EQ(FindRendered("TLogNullAppender"), TLogNullAppender::StaticClass());
    LogRef<ILogRenderer> renderer = FindRenderer("TPointRenderer");
    ASSERT_TRUE(renderer);
    TPoint point(7, 8);
    EXPECT_EQ(renderer->Render(&point), "(7, 8)");
}

TEST(Registries, SameNameInOtherLetterCaseReplaces) {
    RegisterLayout(TLogSIMPLELayout::StaticClass());
    LogRef<ILogLayout> layout = FindLayout("TLogSimpleLayout");
    TLogEvent event(nullptr, Info, "m", nullptr, 0);
    const std::string replaced = layout ? layout->Format(&event) : "";
    RegisterLayout(TLogSimpleLayout::StaticClass());  // back as it was
    EXPECT_EQ(replaced, "replaced");
    LogRef<ILogLayout> again = FindLayout("TLOGSIMPLELAYOUT");
    EXPECT_EQ(again->Format(&event), "info - m\r\n");
}
