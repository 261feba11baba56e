// Message objects rendered by the renderer of their class or of its nearest ancestor.
#include "DebugOutputCapture.h"
#include "HierLog.h"
#include "MessageClasses.h"
#include "RecordingAppender.h"
#include <gtest/gtest.h>

using namespace HierLog;

namespace {
LogRef<ILogRenderer> NewPointRenderer(const std::string& prefix = "") {
    LogRef<ILogRenderer> renderer(new TPointRenderer);
    renderer->Init();
    renderer->SetOption("prefix", prefix);
    return renderer;
}
}  // namespace

TEST(Renderers, ByClassAndByAncestor) {
    TLogHierarchy hierarchy(new TLogRoot(Debug));
    LogRef<TRecordingAppender> appender(new TRecordingAppender);
    TLogLogger* logger = hierarchy.GetLogger("shapes");
    logger->AddAppender(appender.get());
    hierarchy.AddRenderer(TPoint::StaticClass(), NewPointRenderer().get());
    TPoint point(1, 2);
    TPoint3 point3(3, 4, 5);
    logger->Info(&point);
    logger->Warn(&point3);                                                      // TPoint3 has no renderer of its own
    hierarchy.AddRenderer(TPoint::StaticClass(), NewPointRenderer("p").get());  // replaces
    logger->Error(&point);
    EXPECT_EQ(appender->Texts(),
              (std::vector<std::string>{"info - (1, 2)\r\n", "warn - (3, 4)\r\n", "error - p(1, 2)\r\n"}));
    EXPECT_EQ(hierarchy.GetRenderer(TPoint3::StaticClass()), hierarchy.GetRenderer(TPoint::StaticClass()));
}

TEST(Renderers, RootClassEntryServesOnlyTheRootClass) {
    TLogHierarchy hierarchy(new TLogRoot(Debug));
    LogRef<ILogRenderer> renderer = NewPointRenderer();
    hierarchy.AddRenderer(TObject::StaticClass(), renderer.get());
    EXPECT_EQ(hierarchy.GetRenderer(TObject::StaticClass()), renderer);
    EXPECT_FALSE(hierarchy.GetRenderer(TUnrendered::StaticClass()));
    EXPECT_FALSE(hierarchy.GetRenderer(TPoint3::StaticClass()));
}

TEST(Renderers, WithoutRendererTheRequestIsAbandoned) {
    TLogHierarchy hierarchy(new TLogRoot(Debug));
    LogRef<TRecordingAppender> appender(new TRecordingAppender);
    TLogLogger* logger = hierarchy.GetLogger("plain");
    logger->AddAppender(appender.get());
    TUnrendered message;
    TDebugOutputCapture capture;
    EXPECT_THROW(logger->Info(&message), EAbort);
    EXPECT_TRUE(appender->Texts().empty());
    EXPECT_EQ(capture.Lines(),
              std::vector<std::string>{InternalLine("error", "No renderer found for class TUnrendered")});
    logger->SetLevel(Warn);
    EXPECT_NO_THROW(logger->Info(&message));  // below the level: nothing is rendered
}
