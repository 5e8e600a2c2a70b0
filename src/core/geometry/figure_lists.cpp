#include "geometry/figure_lists.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "geometry/equation_text.h"
#include "geometry/relation_groups.h"
#include "geometry/triangle_solver.h"
#include "numbers/messages.h"

namespace qz {

namespace {

enum class StepOp : std::uint8_t {
  Sum,            // evalSum(text)
  Product,        // evalProduct(text)
  Relation,       // evalRelation(text, type)
  Link,           // linkValues("a|b")
  Fixed,          // setFixedValue(text, value)
  RightTriangle,  // RightTriangle on the seven names of text
  Triangle,       // Triangle on the eight names of text
  Sector,         // Sector on the four names of text
  Segment,        // Segment on the twelve names of text
  CyclicQuad,     // CyclicQuad on its fixed names
  Parabola,       // ParabolaSolver(text)
  TriangleOnce,   // TriangleSolver(type), first sweep only
  Orientation,    // figure 10's orientation step
  List,           // the list of figure `type`
  CopyKnown,      // "a|b": b takes a's value once a is known
};

struct FigureStep {
  StepOp op;
  int type;
  const char* text;
  double value;
};

constexpr FigureStep S(const char* t) { return {StepOp::Sum, 0, t, 0.0}; }
constexpr FigureStep P(const char* t) { return {StepOp::Product, 0, t, 0.0}; }
constexpr FigureStep R(int type, const char* t) { return {StepOp::Relation, type, t, 0.0}; }
constexpr FigureStep Link(const char* t) { return {StepOp::Link, 0, t, 0.0}; }
constexpr FigureStep Fix(const char* t, double v) { return {StepOp::Fixed, 0, t, v}; }
constexpr FigureStep RightTri(const char* t) { return {StepOp::RightTriangle, 0, t, 0.0}; }
constexpr FigureStep Tri(const char* t) { return {StepOp::Triangle, 0, t, 0.0}; }
constexpr FigureStep Sect(const char* t) { return {StepOp::Sector, 0, t, 0.0}; }
constexpr FigureStep Seg(const char* t) { return {StepOp::Segment, 0, t, 0.0}; }
constexpr FigureStep Cyclic() { return {StepOp::CyclicQuad, 0, "", 0.0}; }
constexpr FigureStep Parabola(const char* t) { return {StepOp::Parabola, 0, t, 0.0}; }
constexpr FigureStep TriangleOnce(int figure) { return {StepOp::TriangleOnce, figure, "", 0.0}; }
constexpr FigureStep Orientation() { return {StepOp::Orientation, 0, "", 0.0}; }
constexpr FigureStep List(int figure) { return {StepOp::List, figure, "", 0.0}; }
constexpr FigureStep CopyKnown(const char* t) { return {StepOp::CopyKnown, 0, t, 0.0}; }

// clang-format off
constexpr FigureStep kFigure0[] = {
    Fix("A", 45),
    S("D^2.=2.*L^2."),
    S("P=4.*L"),
    S("S=L^2."),
};
constexpr FigureStep kFigure1[] = {
    Fix("A", 360),
    P("D=2.*R"),
    Sect("R|A|P|S"),
};
constexpr FigureStep kFigure2[] = {
    Fix("A", 360),
    P("Di=2.*Ri"),
    P("De=2.*Re"),
    S("2.*Rm=Ri+Re"),
    Sect("Ri|A|Pi|Si"),
    Sect("Re|A|Pe|Se"),
    S("Sc=Se+(-1.)*Si"),
};
constexpr FigureStep kFigure3[] = {
    Fix("A", 360),
    P("Di=2.*Ri"),
    P("De=2.*Re"),
    P("d=2.*r"),
    S("Re=Ri+E"),
    S("dx=E+(-1.)*d"),
    S("2.*rx=E+(-1.)*dx"),
    P("St=PI*rx^2.*N"),
    Sect("Ri|A|Pi|Si"),
    Sect("Re|A|Pe|Se"),
    S("Sc=Se+(-1.)*Si+(-1.)*St"),
};
constexpr FigureStep kFigure4[] = {
    P("D=2.*R"),
    P("d=2.*r"),
    P("S=PI*R*r"),
    R(12, "P=R|r"),
};
constexpr FigureStep kFigure5[] = {
    Fix("N", 6),
    Fix("A", 60),
    List(12),
};
constexpr FigureStep kFigure6[] = {
    S("Y3=KY32+Y2"),
    S("Y1=KY13+Y3"),
    S("Y2=KY21+Y1"),
    S("X3=KX32+X2"),
    S("X1=KX13+X3"),
    S("X2=KX21+X1"),
    P("KY32=a*KX32"),
    P("KY13=a*KX13"),
    P("KY21=a*KX21"),
    P("K1=a*X1"),
    P("K2=a*X2"),
    P("K3=a*X3"),
    S("Y1=K1+b"),
    S("Y2=K2+b"),
    S("Y3=K3+b"),
    R(21, "A=a"),
};
constexpr FigureStep kFigure7[] = {
    S("Y11=DY11+Y12"),
    S("X11=DX11+X12"),
    S("Y11=DY12+Y0"),
    S("X11=DX12+X0"),
    S("Y0=DY13+Y12"),
    S("X0=DX13+X12"),
    S("Y21=DY21+Y22"),
    S("X21=DX21+X22"),
    S("Y21=DY22+Y0"),
    S("X21=DX22+X0"),
    S("Y0=DY23+Y22"),
    S("X0=DX23+X22"),
    P("a1=DY11/DX11"),
    P("a1=DY12/DX12"),
    P("a1=DY13/DX13"),
    P("a2=DY21/DX21"),
    P("a2=DY22/DX22"),
    P("a2=DY23/DX23"),
    P("K11=a1*X11"),
    P("K12=a1*X12"),
    P("K13=a1*X0"),
    P("K21=a2*X21"),
    P("K22=a2*X22"),
    P("K23=a2*X0"),
    S("Y11=b1+K11"),
    S("Y12=b1+K12"),
    S("Y0=b1+K13"),
    S("Y21=b2+K21"),
    S("Y22=b2+K22"),
    S("Y0=b2+K23"),
    S("Y11=K11+b1"),
    S("Y12=K12+b1"),
    S("Y0=K13+b1"),
    S("Y21=K21+b2"),
    S("Y22=K22+b2"),
    S("Y0=K23+b2"),
    R(21, "A1=a1"),
    R(21, "A2=a2"),
    S("A2=A+A1"),
    S("a2=da+a1"),
    S("b2=db+b1"),
    P("X0=(-1.)*db/da"),
};
constexpr FigureStep kFigure8[] = {
    S("AP=A1+A2"),
    S("AD=AD1+AD2"),
    S("A1=2.*AD1"),
    S("A2=2.*AD2"),
    S("D1=2.*DA1"),
    S("D2=2.*DA2"),
    S("L^2.=DA1^2.+DA2^2."),
    S("P=4.*L"),
    P("2.*S=D1*D2"),
    P("2.*S1=DA1*DA2"),
    P("S=4.*S1"),
    R(18, "DA1=L|AD1"),
    R(18, "DA2=L|AD2"),
    S("L^4.=SQ^2.+S^2."),
    S("(.5)*D1^2.=L^2.+SQ"),
};
constexpr FigureStep kFigure9[] = {
    Fix("N", 8),
    Fix("A", 45),
    List(12),
};
constexpr FigureStep kFigure10[] = {
    S("AP=A1+A2"),
    S("A1=A3+A4"),
    S("A2=A5+A6"),
    S("A6=AH+AD1"),
    S("AD=AD1+A5"),
    S("AD=AD2+A4"),
    S("AD2=A3+AH"),
    S("AP=A0+A4+A5"),
    Orientation(),
    Tri("D1|L2|L1|A2|A4|A3|SD1|xH"),
    Tri("D2|L1|L2|A1|A6|A5|SD2|xH"),
    P("2.*D1D2=D1*D2"),
    R(17, "S=D1D2|A0"),
    R(2, "A4=L1|D1|D2"),
    R(3, "A5=L1|D1|D2"),
    S("P=2.*L1+2.*L2"),
    P("S=L1*H"),
    S("S=2.*S1+2.*S2"),
    S("2.*S3=S+2.*S1"),
    S("S=2.*SD1"),
    S("S=2.*SD2"),
    RightTri("H|LA|L2|A1|AH|S1|xP"),
    RightTri("LH|H|D2|AD1|A5|S2|xP"),
    RightTri("H|LT|D1|A4|AD2|S3|xP"),
    R(4, "A4=A1|A5"),
};
constexpr FigureStep kFigure11[] = {
    Fix("N", 5),
    Fix("A", 72),
    List(12),
};
constexpr FigureStep kFigure12[] = {
    P("2.*AP=A*N"),
    P("A=2.*AH1"),
    S("AD=AH1+AH2"),
    P("L=2.*LH1"),
    P("S=2.*N*SH1"),
    P("P=N*L"),
    RightTri("LH1|H|R|AH1|AH2|SH1|xP"),
};
constexpr FigureStep kFigure13[] = {
    S("2.*AP=AE1+AE2+AE3+AE4"),
    S("2.*AP=AI1+AI2+AI3+AI4"),
    Link("AD11|AD31"),
    Link("AD21|AD41"),
    Link("AH11|AH22"),
    Link("AH21|AH32"),
    Link("AH31|AH42"),
    Link("AH41|AH12"),
    S("AD=AH11+AH14"),
    S("AD=AH22+AH23"),
    S("AD=AH21+AH24"),
    S("AD=AH32+AH33"),
    S("AD=AH31+AH34"),
    S("AD=AH42+AH43"),
    S("AD=AH41+AH44"),
    S("AD=AH12+AH13"),
    S("AE1=2.*AH14"),
    S("AE2=2.*AH24"),
    S("AE3=2.*AH34"),
    S("AE4=2.*AH44"),
    Link("AH14|AH23"),
    Link("AH24|AH33"),
    Link("AH34|AH43"),
    Link("AH44|AH13"),
    S("AI1=AP+(-.5)*AE1+(-.5)*AE4"),
    S("AI2=AP+(-.5)*AE2+(-.5)*AE1"),
    S("AI3=AP+(-.5)*AE3+(-.5)*AE2"),
    S("AI4=AP+(-.5)*AE4+(-.5)*AE3"),
    S("AI1=AH11+AH12"),
    S("AI2=AH21+AH22"),
    S("AI3=AH31+AH32"),
    S("AI4=AH41+AH42"),
    S("AE1=AD13+AD22"),
    S("AE2=AD23+AD32"),
    S("AE3=AD33+AD42"),
    S("AE4=AD43+AD12"),
    S("AP=AD11+AD21"),
    S("AP=AD21+AD31"),
    S("AP=AD31+AD41"),
    S("AP=AD41+AD11"),
    Link("r|H"),
    S("L1=LH11+LH12"),
    S("L2=LH21+LH22"),
    S("L3=LH31+LH32"),
    S("L4=LH41+LH42"),
    Link("LH11|LH42"),
    Link("LH21|LH12"),
    Link("LH31|LH22"),
    Link("LH41|LH32"),
    S("D1=D11+D12"),
    S("D2=D21+D22"),
    R(9, "H=L1|AH13|AH14"),
    R(9, "H=L2|AH23|AH24"),
    R(9, "H=L3|AH33|AH34"),
    R(9, "H=L4|AH43|AH44"),
    S("P=L1+L2+L3+L4"),
    P("2.*S=P*r"),
    P("2.*S1=L1*H"),
    P("2.*S2=L2*H"),
    P("2.*S3=L3*H"),
    P("2.*S4=L4*H"),
    Link("SH11|SH42"),
    Link("SH21|SH12"),
    Link("SH31|SH22"),
    Link("SH41|SH32"),
    S("S1=SH11+SH12"),
    S("S2=SH21+SH22"),
    S("S3=SH31+SH32"),
    S("S4=SH41+SH42"),
    S("S=S1+S2+S3+S4"),
    S("S=SD5+SD6"),
    S("S=SD7+SD8"),
    S("SD5=SD1+SD2"),
    S("SD6=SD3+SD4"),
    S("SD7=SD2+SD3"),
    S("SD8=SD4+SD1"),
    S("S=SD1+SD2+SD3+SD4"),
    RightTri("LH11|H|LH43|AH12|AH13|SH11|xP"),
    RightTri("H|LH12|LH13|AH14|AH11|SH12|xP"),
    RightTri("LH21|H|LH13|AH22|AH23|SH21|xP"),
    RightTri("H|LH22|LH23|AH24|AH21|SH22|xP"),
    RightTri("LH31|H|LH23|AH32|AH33|SH31|xP"),
    RightTri("H|LH32|LH33|AH34|AH31|SH32|xP"),
    RightTri("LH41|H|LH33|AH42|AH43|SH41|xP"),
    RightTri("H|LH42|LH43|AH44|AH41|SH42|xP"),
    Tri("L1|D21|D12|AD11|AD12|AD13|SD1|xH"),
    Tri("L2|D11|D21|AD21|AD22|AD23|SD2|xH"),
    Tri("L3|D22|D11|AD31|AD32|AD33|SD3|xH"),
    Tri("L4|D12|D22|AD41|AD42|AD43|SD4|xH"),
    Tri("D1|L1|L2|AE1|AD23|AD12|SD5|xH"),
    Tri("D1|L3|L4|AE3|AD43|AD32|SD6|xH"),
    Tri("D2|L2|L3|AE2|AD33|AD22|SD7|xH"),
    Tri("D2|L4|L1|AE4|AD13|AD42|SD8|xH"),
};
constexpr FigureStep kFigure14[] = {
    S("2.*AP=AE1+AE2+AE3+AE4"),
    S("2.*AP=AI1+AI2+AI3+AI4"),
    S("AP=AH11+AH21+AH31+AH41"),
    S("AP=AH12+AH22+AH32+AH42"),
    S("AP=AE1+AE3"),
    S("AP=AE2+AE4"),
    S("AE1=AE11+AE12"),
    S("AE2=AE21+AE22"),
    S("AE3=AE31+AE32"),
    S("AE4=AE41+AE42"),
    S("AE1=AD13+AD22"),
    S("AE2=AD23+AD32"),
    S("AE3=AD33+AD42"),
    S("AE4=AD43+AD12"),
    S("AP=AD11+AD21"),
    S("AP=AD21+AD31"),
    S("AP=AD31+AD41"),
    S("AP=AD41+AD11"),
    Link("AE11|AE42"),
    Link("AE21|AE12"),
    Link("AE31|AE22"),
    Link("AE41|AE32"),
    Link("AD11|AD31"),
    Link("AD21|AD41"),
    S("AI1=2.*AH12"),
    S("AI2=2.*AH22"),
    S("AI3=2.*AH32"),
    S("AI4=2.*AH42"),
    S("AP=AI1+2.*AE11"),
    S("AP=AI2+2.*AE21"),
    S("AP=AI3+2.*AE31"),
    S("AP=AI4+2.*AE41"),
    P("L1=2.*LH1"),
    P("L2=2.*LH2"),
    P("L3=2.*LH3"),
    P("L4=2.*LH4"),
    S("D1=D11+D12"),
    S("D2=D21+D22"),
    Link("Xc|H2"),
    S("2.*Yc=L2"),
    S("P=L1+L2+L3+L4"),
    S("2.*MP=P"),
    S("MP=PL1+L1"),
    S("MP=PL2+L2"),
    S("MP=PL3+L3"),
    S("MP=PL4+L4"),
    P("S^2.=PL1*PL2*PL3*PL4"),
    P("2.*S1=L1*H1"),
    P("2.*S2=L2*H2"),
    P("2.*S3=L3*H3"),
    P("2.*S4=L4*H4"),
    P("S1=2.*SH1"),
    P("S2=2.*SH2"),
    P("S3=2.*SH3"),
    P("S4=2.*SH4"),
    S("S=S1+S2+S3+S4"),
    S("S=SD5+SD6"),
    S("S=SD7+SD8"),
    S("SD5=SD1+SD2"),
    S("SD6=SD3+SD4"),
    S("SD7=SD2+SD3"),
    S("SD8=SD4+SD1"),
    S("S=SD1+SD2+SD3+SD4"),
    P("4.*SD5=L1*L2*D1/R"),
    P("4.*SD6=L3*L4*D1/R"),
    P("4.*SD7=L2*L3*D2/R"),
    P("4.*SD8=L4*L1*D2/R"),
    P("K0=D1*D2"),
    P("K1=L1*L3"),
    P("K2=L2*L4"),
    S("K0=K1+K2"),
    Tri("L1|D21|D12|AD11|AD12|AD13|SD1|xH"),
    Tri("L2|D11|D21|AD21|AD22|AD23|SD2|Xd"),
    Tri("L3|D22|D11|AD31|AD32|AD33|SD3|xH"),
    Tri("L4|D12|D22|AD41|AD42|AD43|SD4|xH"),
    Tri("D1|L1|L2|AE1|AD23|AD12|SD5|xH"),
    Tri("D1|L3|L4|AE3|AD43|AD32|SD6|xH"),
    Tri("D2|L2|L3|AE2|AD33|AD22|SD7|xH"),
    Tri("D2|L4|L1|AE4|AD13|AD42|SD8|xH"),
    RightTri("LH1|H1|R|AH12|AH11|SH1|xP"),
    RightTri("LH2|H2|R|AH22|AH21|SH2|xP"),
    RightTri("LH3|H3|R|AH32|AH31|SH3|xP"),
    RightTri("LH4|H4|R|AH42|AH41|SH4|xP"),
    R(10, "R=D1|AE1"),
    R(10, "R=D1|AE3"),
    R(10, "R=D2|AE2"),
    R(10, "R=D2|AE4"),
    Cyclic(),
};
constexpr FigureStep kFigure15[] = {
    S("AD=A1+A2"),
    S("D^2.=L1^2.+L2^2."),
    S("(.5)*P=L1+L2"),
    P("S=L1*L2"),
    P("S=2.*S1"),
    RightTri("L2|L1|D|A1|A2|S1|xP"),
};
constexpr FigureStep kFigure16[] = {
    P("D=2.*R"),
    Sect("R|A|LS|S"),
    S("P=LS+2.*R"),
};
constexpr FigureStep kFigure17[] = {
    P("A=2.*A1"),
    S("AD=A1+A2"),
    P("D=2.*R"),
    Seg("R|A|A1|A2|LC|LH|LS|H|HT|S|SST|SSC"),
    S("P=LS+LC"),
};
constexpr FigureStep kFigure18[] = {
    P("3.*S=2.*H*LB"),
    S("P=LA+LB"),
    Parabola("LB|LA|H|S|P"),
};
constexpr FigureStep kFigure19[] = {
    S("AD=AH1+A1"),
    S("AD=AH2+A4"),
    S("A2=AH1+AD"),
    S("A3=AH2+AD"),
    S("AP=A1+A2"),
    S("AP=A3+A4"),
    S("A0=AH3+AH4"),
    Link("L3|LH2"),
    S("L1=LH1+LH2+LH3"),
    S("L1=LT1+LH3"),
    S("L1=LH1+LT2"),
    S("LT1=LH1+LH2"),
    S("LT2=LH2+LH3"),
    S("D1^2.=LT1^2.+H^2."),
    S("D2^2.=LT2^2.+H^2."),
    P("2.*D1D2=D1*D2"),
    R(17, "S=D1D2|A0"),
    Tri("L1|L2|D2|AT2|AH4|A1|xS2|H"),
    Tri("L1|D1|L4|AT1|A4|AH3|xS2|H"),
    S("P=L1+L2+L3+L4"),
    P("S0=L3*H"),
    S("L0=L1+L3"),
    P("2.*S=L0*H"),
    RightTri("H|LH1|L2|A1|AH1|S1|xP"),
    RightTri("LH3|H|L4|AH2|A4|S2|xP"),
    RightTri("H|LT1|D1|AH3|AD1|S3|xP"),
    RightTri("LT2|H|D2|AD2|AH4|S4|xP"),
    S("S=S1+S0+S2"),
    R(5, "L3=L1|S|A1|A4"),
    R(6, "L1=L2|L3|L4|A1"),
};
constexpr FigureStep kFigure20[] = {
    Fix("A", 60),
    S("4.*H^2.=3.*L^2."),
    S("3.*r=H"),
    S("1.73205080756888*R=L"),
    S("P=3.*L"),
    P("2.*S=L*H"),
    P("4.*S=1.73205080756888*L^2."),
};
constexpr FigureStep kFigure21[] = {
    Link("A2|A3"),
    Link("L2|L3"),
    Link("H2|H3"),
    Link("M2|M3"),
    Link("B2|B3"),
    S("AP=A1+2.*A2"),
};
constexpr FigureStep kFigure21Equilateral[] = {
    Link("A1|A2"),
    Link("L1|L2"),
    Link("H1|H2"),
    Link("M1|M2"),
    Link("M1|H1"),
    Link("B1|B2"),
    Link("B1|H1"),
    S("3.*r=H1"),
    S("1.73205080756888*R=L1"),
    S("P=3.*L1"),
    P("2.*S=L1*H1"),
};
constexpr FigureStep kFigure21Common[] = {
    S("H1=H11+H12"),
    S("H2=H21+H22"),
    S("M1=M11+M12"),
    S("M2=M21+M22"),
    S("B1=B11+B12"),
    S("B2=B21+B22"),
    S("L1=2.*LH11"),
    S("L2=LH21+LH22"),
    S("L1=2.*LM11"),
    S("L2=2.*LM21"),
    Link("LM11|LM12"),
    Link("LM21|LM22"),
    S("M1=3.*M12"),
    S("M2=3.*M22"),
    S("M1=(1.5)*M11"),
    S("M2=(1.5)*M21"),
    S("L1=2.*LB11"),
    S("L2=LB21+LB22"),
    P("B21=B22*L2/LB22"),
    P("B21=B22*L1/LB21"),
    S("P=L1+2.*L2"),
    R(1, "P=L1|A2"),
    R(10, "R=L1|A1"),
    R(10, "R=L2|A2"),
    S("S=2.*SH1"),
    S("S=SH2+SH3"),
    S("(.5)*S=SH11+SH21+SH22"),
    S("S=SM2+SM3"),
    S("(.5)*S=SM11+SM21+SM22"),
    S("S=SB2+SB3"),
    S("(.5)*S=SB11+SB21+SB22"),
    Link("LH11|LM11"),
    Link("LM11|LB11"),
    Link("LB11|LH11"),
    Link("AH11|AM11"),
    Link("AM11|AB11"),
    Link("AB11|AH11"),
    Link("B12|r"),
    Link("Yc|r"),
    S("L1=2.*Xc"),
    RightTri("LH11|H1|L2|AH11|A2|SH1|xP"),
    RightTri("LH21|H2|L1|AH22|A2|SH2|xP"),
    RightTri("H2|LH22|L2|A1|AH21|SH3|xP"),
    S("A1=2.*AH11"),
    S("A2=AH21+AH22"),
    Link("AH12|AH23"),
    Link("AH11|AH22"),
    S("AD=AH11+AH12"),
    S("AD=AH21+AH24"),
    S("AD=AH22+AH23"),
    S("AP=2.*AH12+AH24"),
    RightTri("LH11|H12|H21|AH23|AH22|SH11|xP"),
    RightTri("LH21|H22|H21|AH24|AH21|SH21|xP"),
    RightTri("H22|LH22|H11|AH11|AH12|SH22|xP"),
    S("A1=2.*AM11"),
    S("A2=AM21+AM22"),
    Link("AM13|AM23"),
    S("AP=AM12+AM25"),
    S("AP=2.*AM13+AM24"),
    S("AP=AM11+AM12+AM13"),
    S("AP=AM21+AM24+AM25"),
    RightTri("LM11|M12|M21|AM23|AM22|SM11|xP"),
    Tri("L1|M2|LM21|AM25|A2|AM22|SM2|xH"),
    Tri("LM21|M21|M22|AM24|AM25|AM21|SM21|xH"),
    Tri("LM21|M22|M11|AM13|AM11|AM12|SM22|xH"),
    Tri("L2|M2|LM21|AM12|A1|AM21|SM3|xH"),
    S("3.*Yg=H1"),
    S("2.*Xg=L1"),
    S("A1=2.*AB11"),
    S("A2=2.*AB21"),
    Link("AB13|AB22"),
    S("AP=AB12+AB24"),
    S("AP=2.*AB13+AB23"),
    S("AD=AB11+A2"),
    Tri("L1|B2|LB21|AB24|A2|AB21|SB2|xH"),
    Tri("L2|B2|LB22|AB12|A1|AB21|SB3|xH"),
    RightTri("LB11|B12|B21|AB22|AB21|SB11|xP"),
    Tri("LB21|B21|B22|AB23|AB24|AB21|SB21|r"),
    Tri("LB22|B22|B11|AB13|AB11|AB12|SB22|r"),
};
constexpr FigureStep kFigure22[] = {
    S("AP=A1+A2+A3"),
};
constexpr FigureStep kFigure22Equilateral[] = {
    Link("A1|A2"),
    Link("A2|A3"),
    Link("L1|L2"),
    Link("L2|L3"),
    Link("H1|H2"),
    Link("H2|H3"),
    Link("M1|H1"),
    Link("M2|H2"),
    Link("M3|H3"),
    Link("B1|H1"),
    Link("B2|H2"),
    Link("B3|H3"),
    S("1.73205080756888*L1=2.*H1"),
    S("3.*r=H1"),
    S("1.73205080756888*R=L1"),
    S("P=3.*L1"),
    P("4.*S=1.73205080756888*L1^2."),
    P("2.*S=L1*H1"),
};
constexpr FigureStep kFigure22Common[] = {
    S("H1=H11+H12"),
    S("H2=H21+H22"),
    S("H3=H31+H32"),
    S("L1=LH11+LH12"),
    S("L2=LH21+LH22"),
    S("L3=LH31+LH32"),
    S("L1=2.*LM11"),
    S("L2=2.*LM21"),
    S("L3=2.*LM31"),
    Link("LM11|LM12"),
    Link("LM21|LM22"),
    Link("LM31|LM32"),
    S("M1=3.*M12"),
    S("M2=3.*M22"),
    S("M3=3.*M32"),
    S("M1=(1.5)*M11"),
    S("M2=(1.5)*M21"),
    S("M3=(1.5)*M31"),
    S("M1=M11+M12"),
    S("M2=M21+M22"),
    S("M3=M31+M32"),
    S("L1=LB11+LB12"),
    S("L2=LB21+LB22"),
    S("L3=LB31+LB32"),
    P("LB11=LB12*L3/L2"),
    P("LB21=LB22*L1/L3"),
    P("LB31=LB32*L2/L1"),
    S("B1=B11+B12"),
    S("B2=B21+B22"),
    S("B3=B31+B32"),
    P("B31=B32*L2/LB31"),
    P("B31=B32*L1/LB32"),
    P("B11=B12*L3/LB11"),
    P("B11=B12*L2/LB12"),
    P("B21=B22*L1/LB21"),
    P("B21=B22*L3/LB22"),
    P("2.*S=L1*H1"),
    P("2.*S=L2*H2"),
    P("2.*S=L3*H3"),
    S("S=SH1+SH2"),
    S("S=SH3+SH4"),
    S("S=SH5+SH6"),
    S("S=SM1+SM2"),
    S("S=SM3+SM4"),
    S("S=SM5+SM6"),
    S("S=SB1+SB2"),
    S("S=SB3+SB4"),
    S("S=SB5+SB6"),
    S("S=SH11+SH12+SH21+SH22+SH31+SH32"),
    S("S=SM11+SM12+SM21+SM22+SM31+SM32"),
    S("S=SB11+SB12+SB21+SB22+SB31+SB32"),
    S("P=L1+L2+L3"),
    R(10, "R=L1|A1"),
    R(10, "R=L2|A2"),
    R(10, "R=L3|A3"),
    Link("Yg|Yg1"),
    Link("Yc|r"),
    S("A1=AH11+AH12"),
    S("A2=AH21+AH22"),
    S("A3=AH31+AH32"),
    Link("AH14|AH33"),
    Link("AH24|AH13"),
    Link("AH34|AH23"),
    S("AP=AH34+AH33+AH24"),
    S("AP=AH13+AH34+AH33"),
    S("AP=AH14+AH13+AH34"),
    S("AP=AH23+AH14+AH13"),
    S("AP=AH24+AH23+AH14"),
    S("AP=AH33+AH24+AH23"),
    RightTri("LH11|H1|L3|AH11|A2|SH1|xP"),
    RightTri("H1|LH12|L2|A3|AH12|SH2|xP"),
    RightTri("LH21|H2|L1|AH21|A3|SH3|xP"),
    RightTri("H2|LH22|L3|A1|AH22|SH4|xP"),
    RightTri("LH31|H3|L2|AH31|A1|SH5|xP"),
    RightTri("H3|LH32|L1|A2|AH32|SH6|xP"),
    RightTri("LH11|H12|H21|AH24|AH21|SH11|xP"),
    RightTri("H12|LH12|H31|AH32|AH33|SH12|xP"),
    RightTri("LH21|H22|H31|AH34|AH31|SH21|xP"),
    RightTri("H22|LH22|H11|AH12|AH13|SH22|xP"),
    RightTri("LH31|H32|H11|AH14|AH11|SH31|xP"),
    RightTri("H32|LH32|H21|AH22|AH23|SH32|xP"),
    S("3.*Yg1=H1"),
    S("3.*Yg2=H2"),
    S("3.*Yg3=H3"),
    S("A1=AM11+AM12"),
    S("A2=AM21+AM22"),
    S("A3=AM31+AM32"),
    Link("AM14|AM25"),
    Link("AM15|AM34"),
    Link("AM24|AM35"),
    S("AP=AM33+AM26"),
    S("AP=AM13+AM36"),
    S("AP=AM23+AM16"),
    S("AP=AM35+AM34+AM25"),
    S("AP=AM14+AM35+AM34"),
    S("AP=AM15+AM14+AM35"),
    S("AP=AM24+AM15+AM14"),
    S("AP=AM25+AM24+AM15"),
    S("AP=AM34+AM25+AM24"),
    Tri("LM11|M1|L3|AM11|A2|AM26|SM1|H1"),
    Tri("LM12|L2|M1|AM12|AM33|A3|SM2|H1"),
    Tri("LM21|M2|L1|AM21|A3|AM36|SM3|H2"),
    Tri("LM22|L3|M2|AM22|AM13|A1|SM4|H2"),
    Tri("LM31|M3|L2|AM31|A1|AM16|SM5|H3"),
    Tri("LM32|L1|M3|AM32|AM23|A2|SM6|H3"),
    Tri("LM11|M12|M21|AM25|AM21|AM26|SM11|Yg1"),
    Tri("LM12|M31|M12|AM34|AM33|AM32|SM12|Yg1"),
    Tri("LM21|M22|M31|AM35|AM31|AM36|SM21|Yg2"),
    Tri("LM22|M11|M22|AM14|AM13|AM12|SM22|Yg2"),
    Tri("LM31|M32|M11|AM15|AM11|AM16|SM31|Yg3"),
    Tri("LM32|M21|M32|AM24|AM23|AM22|SM32|Yg3"),
    RightTri("Yg1|Xg|M31|AM32|xA11|xS3|xP"),
    S("A1=2.*AB11"),
    S("A2=2.*AB21"),
    S("A3=2.*AB31"),
    Link("AB13|AB24"),
    Link("AB14|AB33"),
    Link("AB23|AB34"),
    S("AP=AB32+AB25"),
    S("AP=AB12+AB35"),
    S("AP=AB15+AB22"),
    S("AP=AB34+AB33+AB24"),
    S("AP=AB13+AB34+AB33"),
    S("AP=AB14+AB13+AB34"),
    S("AP=AB23+AB14+AB13"),
    S("AP=AB24+AB23+AB14"),
    S("AP=AB33+AB24+AB23"),
    S("AB12=AB14+AB15+(-1.)*AB13"),
    S("AB22=AB24+AB25+(-1.)*AB23"),
    S("AB32=AB34+AB35+(-1.)*AB33"),
    S("A3=AB25+A2+(-1.)*AB32"),
    S("A1=AB35+A3+(-1.)*AB12"),
    S("A2=AB15+A1+(-1.)*AB22"),
    S("AP=AB11+2.*AB31+AB32"),
    S("AP=AB11+2.*AB21+AB25"),
    S("AP=AB21+2.*AB11+AB12"),
    S("AP=AB21+2.*AB31+AB35"),
    S("AP=AB31+2.*AB21+AB22"),
    S("AP=AB31+2.*AB11+AB15"),
    Tri("LB11|B1|L3|AB11|A2|AB25|SB1|H1"),
    Tri("LB12|L2|B1|AB11|AB32|A3|SB2|H1"),
    Tri("LB21|B2|L1|AB21|A3|AB35|SB3|H2"),
    Tri("LB22|L3|B2|AB21|AB12|A1|SB4|H2"),
    Tri("LB31|B3|L2|AB31|A1|AB15|SB5|H3"),
    Tri("LB32|L1|B3|AB31|AB22|A2|SB6|H3"),
    Tri("LB11|B12|B21|AB24|AB21|AB25|SB11|r"),
    Tri("LB12|B31|B12|AB33|AB32|AB31|SB12|r"),
    Tri("LB21|B22|B31|AB34|AB31|AB35|SB21|r"),
    Tri("LB22|B11|B22|AB13|AB12|AB11|SB22|r"),
    Tri("LB31|B32|B11|AB14|AB11|AB15|SB31|r"),
    Tri("LB32|B21|B32|AB23|AB22|AB21|SB32|r"),
    RightTri("Yc|Xc|B31|AB31|xA11|xS3|xP"),
};
constexpr FigureStep kFigure23[] = {
    // The right angle is the figure's own, whatever the data.
    Fix("A3", 90),
    S("AD=A1+A2"),
    TriangleOnce(23),
    S("L3=LH31+LH32"),
    Link("LM11|LM12"),
    Link("LM21|LM22"),
    Link("LM31|LM32"),
    S("L1=2.*LM11"),
    S("L2=2.*LM21"),
    S("L3=2.*LM31"),
    S("M1=3.*M12"),
    S("M2=3.*M22"),
    S("M3=3.*M32"),
    S("M1=(1.5)*M11"),
    S("M2=(1.5)*M21"),
    S("M3=(1.5)*M31"),
    S("M1=M11+M12"),
    S("M2=M21+M22"),
    S("M3=M31+M32"),
    S("L1=LB11+LB12"),
    S("L2=LB21+LB22"),
    S("L3=LB31+LB32"),
    S("B1=B11+B12"),
    S("B2=B21+B22"),
    S("B3=B31+B32"),
    P("B31=B32*L2/LB31"),
    P("B31=B32*L1/LB32"),
    P("B11=B12*L3/LB11"),
    P("B11=B12*L2/LB12"),
    P("B21=B22*L1/LB21"),
    P("B21=B22*L3/LB22"),
    P("2.*S=L1*L2"),
    P("2.*S=L3*H3"),
    S("S=SH5+SH6"),
    S("S=SM1+SM2"),
    S("S=SM3+SM4"),
    S("S=SM5+SM6"),
    S("S=SB1+SB2"),
    S("S=SB3+SB4"),
    S("S=SB5+SB6"),
    S("S=SM11+SM12+SM21+SM22+SM31+SM32"),
    S("S=SB11+SB12+SB21+SB22+SB31+SB32"),
    S("2.*r^2.=B31^2."),
    S("P=L1+L2+L3"),
    R(10, "R=L1|A1"),
    R(10, "R=L2|A2"),
    R(7, "P=L1|A2"),
    S("3.*Yg=L2"),
    S("3.*Xg=L1"),
    Link("Yc|r"),
    Link("Xc|r"),
    S("AD=AH31+AH32"),
    S("AD=A1+AH32"),
    S("AD=A2+AH31"),
    Link("A2|AH32"),
    Link("A1|AH31"),
    RightTri("LH31|H3|L2|AH32|A1|SH5|xP"),
    RightTri("H3|LH32|L1|A2|AH31|SH6|xP"),
    S("A1=AM11+AM12"),
    S("A2=AM21+AM22"),
    S("AD=AM31+AM32"),
    Link("AM15|AM24"),
    Link("AM14|AM35"),
    Link("AM25|AM34"),
    S("AP=AM13+AM26"),
    S("AP=AM23+AM36"),
    S("AP=AM16+AM33"),
    S("AP=AM14+AM25+AM24"),
    S("AP=AM25+AM24+AM35"),
    S("AP=AM24+AM35+AM34"),
    Tri("LM11|M1|L3|AM12|A2|AM23|SM1|L2"),
    RightTri("LM11|L2|M1|AM11|AM36|SM2|xP"),
    RightTri("L1|LM21|M2|AM33|AM22|SM3|xP"),
    Tri("LM21|L3|M2|AM21|AM16|A1|SM4|L1"),
    Tri("LM31|M3|L2|AM32|A1|AM13|SM5|H3"),
    Tri("LM31|L1|M3|AM31|AM26|A2|SM6|H3"),
    Tri("LM11|M12|M21|AM24|AM22|AM23|SM11|Yg"),
    Tri("LM11|M31|M12|AM35|AM36|AM31|SM12|Yg"),
    Tri("LM21|M22|M31|AM34|AM32|AM33|SM21|Xg"),
    Tri("LM21|M11|M22|AM15|AM16|AM11|SM22|Xg"),
    Tri("LM31|M32|M11|AM14|AM12|AM13|SM31|xH"),
    Tri("LM31|M21|M32|AM25|AM26|AM21|SM32|xH"),
    Fix("AB31", 45),
    S("A1=2.*AB11"),
    S("A2=2.*AB21"),
    Link("AB13|AB34"),
    Link("AB24|AB33"),
    Link("AB23|AB14"),
    S("AP=AB13+AB24+AB23"),
    S("AP=AB24+AB23+AB34"),
    S("AP=AB23+AB34+AB33"),
    S("AP=AB12+AB25"),
    S("AP=AB22+AB35"),
    S("AP=AB32+AB15"),
    S("AD=AB11+AB35"),
    S("AD=AB21+AB32"),
    S("AP=AB31+AB25+A2"),
    S("AP=AB31+AB12+A1"),
    RightTri("LB12|L2|B1|AB11|AB35|SB2|xP"),
    RightTri("L1|LB21|B2|AB32|AB21|SB3|xP"),
    Tri("LB11|B1|L3|AB11|A2|AB22|SB1|L2"),
    Tri("LB22|L3|B2|AB21|AB15|A1|SB4|L1"),
    Tri("LB31|B3|L2|AB31|A1|AB12|SB5|H3"),
    Tri("LB32|L1|B3|AB31|AB25|A2|SB6|H3"),
    Tri("LB11|B12|B21|AB23|AB21|AB22|SB11|r"),
    Tri("LB12|B31|B12|AB34|AB35|AB31|SB12|r"),
    Tri("LB21|B22|B31|AB33|AB31|AB32|SB21|r"),
    Tri("LB22|B11|B22|AB14|AB15|AB11|SB22|r"),
    Tri("LB31|B32|B11|AB13|AB11|AB12|SB31|r"),
    Tri("LB32|B21|B32|AB24|AB25|AB21|SB32|r"),
};
constexpr FigureStep kFigure24[] = {
    P("A=2.*A1"),
    S("AD=A1+A2"),
    S("D=H+dH1"),
    S("D=H1+dH1"),
    P("D=2.*R"),
    Seg("R|A|A1|A2|d|r|LS|H|HT|SSS|SST|SSC"),
    P("SB=PI*r^2."),
    P("(.5)*SS=PI*R*H1"),
    S("S=SB+SS"),
    R(16, "V=R|A"),
    P("P=PI*D"),
};
constexpr FigureStep kFigure25[] = {
    P("A=2.*A1"),
    S("AD=A1+A2"),
    P("D=2.*R"),
    S("S=SC+SB"),
    P("SB=PI*R^2."),
    P("SC=PI*R*L"),
    P("3.*V=PI*R^2.*H"),
    RightTri("R|H|L|A1|A2|St|xP"),
};
constexpr FigureStep kFigure26[] = {
    P("D1=2.*R1"),
    P("D2=2.*R2"),
    P("(.25)*S1=PI*R1^2."),
    P("(.25)*S2=PI*R2^2."),
    S("S=S1+S2"),
    P("(.75)*V1=PI*R1^3."),
    P("(.75)*V2=PI*R2^3."),
    S("V1=V2+V"),
};
constexpr FigureStep kFigure27[] = {
    S("D^2.=3.*L^2."),
    S("S=6.*L^2."),
    S("V=L^3."),
};
constexpr FigureStep kFigure28[] = {
    P("D=2.*R"),
    P("SE=PI*R^2."),
    P("SC=PI*D*H"),
    S("S=2.*SE+SC"),
    P("V=PI*R^2.*H"),
};
constexpr FigureStep kFigure29[] = {
    P("D=2.*R"),
    P("d=2.*r"),
    P("SEE=PI*R^2."),
    P("SEI=PI*r^2."),
    S("SEE=SE+SEI"),
    P("SCE=PI*D*H"),
    P("SCI=PI*d*H"),
    S("SC=SCE+SCI"),
    S("S=SC+2.*SE"),
    P("V=SE*H"),
    P("VE=SEE*H"),
    P("VI=SEI*H"),
    S("VE=V+VI"),
};
constexpr FigureStep kFigure30[] = {
    S("AD=A+B"),
    P("D=2.*R"),
    P("SE=PI*R^2."),
    P("SC=PI*D*L"),
    S("S=2.*SE+SC"),
    P("V=PI*R^2.*H"),
    RightTri("LH|H|L|A|B|SH|xP"),
};
constexpr FigureStep kFigure31[] = {
    P("P=TA*Dm"),
    R(21, "A=TA"),
    P("d=2.*r"),
    P("Dm=2.*Rm"),
    S("PR=PI*Dm"),
    S("LS^2.=PR^2.+P^2."),
    S("NU1=NSU+1"),
    S("NU15=NSU+(1.5)*1"),
    P("LA=NU1*P"),
    Fix("K0", 2.85619449),
    S("K1=PI*NSU+K0"),
    P("Sr=PI*r^2."),
    P("S=d*LS*K1"),
    P("4.*V=PI*NU15*LS*d^2."),
};
constexpr FigureStep kFigure32[] = {
    P("(.75)*V=PI*R1*R2*R3"),
};
constexpr FigureStep kFigure33[] = {
    P("D=2.*R"),
    Sect("R|A|LA|SA"),
    P("SL=PI*R^2."),
    P("SS=2.*LA*R"),
    S("S=SL+SS"),
    P("P=PI*D"),
    P("(.75)*V=SA*R"),
};
constexpr FigureStep kFigure34[] = {
    S("AD=A+B"),
    P("D=2.*R"),
    P("2.*SB1=PI*R^2."),
    P("2.*SB2=PI*R*RA"),
    P("SC=2.*R*H"),
    S("S=SB1+SC+SB2"),
    // The wedge cut from a cylinder through a diameter of its base holds
    // 2·R²·H/3 (no pi: the section is a triangle, not a disc).
    P("1.5*V=R^2.*H"),
    RightTri("R|H|RA|B|A|ST|xP"),
};
constexpr FigureStep kFigure35[] = {
    P("D=2.*R"),
    Link("LB|D"),
    P("2.*V=PI*R^2.*H"),
    P("16.*V=PI*D*3.*S"),
    Parabola("LB|LA|H|S|P|V"),
    P("16.*V=PI*D*3.*S"),
    P("2.*V=PI*R^2.*H"),
    Link("LB|D"),
};
constexpr FigureStep kFigure36[] = {
    S("D^2.=L1^2.+L2^2.+L3^2."),
    P("S1=L1*L2"),
    P("S2=L2*L3"),
    P("S3=L3*L1"),
    S("(.5)*S=S1+S2+S3"),
    P("V=L1*L2*L3"),
};
constexpr FigureStep kFigure37[] = {
    S("LD1=L1+LH"),
    S("LD2=L1+(-1.)*LH"),
    S("D13^2.=LD1^2.+L3^2."),
    S("D1^2.=D13^2.+H^2."),
    S("D23^2.=LD2^2.+L3^2."),
    S("D2^2.=D23^2.+H^2."),
    RightTri("H|LH|L2|A|B|SH|xP"),
    P("S1=L1*H"),
    P("S2=L2*L3"),
    P("S3=L3*L1"),
    S("(.5)*S=S1+S2+S3"),
    P("V=L1*H*L3"),
};
constexpr FigureStep kFigure38[] = {
    P("3.*V=SB*H"),
};
constexpr FigureStep kFigure39[] = {
    P("A=2.*A1"),
    S("AD=A1+A2"),
    Link("R|R2"),
    P("D1=2.*R1"),
    P("D2=2.*R2"),
    S("H=HL+H2"),
    S("R2=H1+H3"),
    S("H=D2+EC"),
    S("R1=R2+EC"),
    S("H2=H1+EC"),
    S("L1=L2+E1+E2"),
    R(18, "H3=R2|A1"),
    P("SL=L*L2"),
    P("S1=PI*R1^2."),
    P("S2=PI*R2^2."),
    Seg("R|A|A1|A2|L|xL11|LS|H1|H3|SEV|xS2|xS3"),
    S("S2=SEL+SEV"),
    P("V1=S1*L2"),
    P("V2=S2*L2"),
    P("VE1=S1*E1"),
    P("VE2=S1*E2"),
    S("V=V1+(-1.)*V2+VE1+VE2"),
    P("VV=SEV*L2"),
    P("VL=SEL*L2"),
    S("V2=VL+VV"),
};
constexpr FigureStep kFigure40[] = {
    P("A=2.*A1"),
    S("AD=A1+A2"),
    P("D1=2.*R1"),
    P("D2=2.*R2"),
    S("H=HL+H2"),
    S("R2=H1+H3"),
    S("H=D2+E"),
    S("R1=R2+E"),
    S("H2=H1+E"),
    S("L1=L2+2.*E"),
    S("L2=L3+D2"),
    S("L1=L3+D1"),
    R(18, "H3=R2|A1"),
    P("S1=PI*R1^2."),
    P("S2=PI*R2^2."),
    P("SCL=L*L3"),
    P("SSL=PI*RL^2."),
    S("SL=SCL+SSL"),
    P("(.75)*VS1=PI*R1^3."),
    P("(.75)*VS2=PI*R2^3."),
    P("VC1=S1*L3"),
    P("VC2=S2*L3"),
    S("V1=VC1+VS1"),
    S("V2=VC2+VS2"),
    S("V1=V+V2"),
    P("VCV=SEV*L3"),
    S("VC2=VCL+VCV"),
    R(16, "VSV=R2|A"),
    S("VS2=VSL+VSV"),
    S("VV=VCV+VSV"),
    S("VL=VCL+VSL"),
    S("V2=VL+VV"),
    Seg("R2|A|A1|A2|L|RL|LS|H1|H3|SEV|xS2|xS3"),
};
constexpr FigureStep kFigure41[] = {
    P("A=2.*A1"),
    S("AD=A1+A2"),
    P("D1=2.*R1"),
    P("D2=2.*R2"),
    S("H=HL+H2"),
    S("H=D2+E"),
    S("R1=R2+E"),
    S("H2=H1+E"),
    S("R2=H1+H3"),
    S("L=2.*RL"),
    R(18, "H3=R2|A1"),
    P("SL=PI*RL^2."),
    P("(.75)*V1=PI*R1^3."),
    P("(.75)*V2=PI*R2^3."),
    S("V1=V2+V"),
    R(16, "VV=R2|A"),
    S("V2=VL+VV"),
    RightTri("RL|H3|R2|A1|A2|ST|xP"),
};
constexpr FigureStep kFigure42[] = {
    P("A=2.*A1"),
    S("AD=A1+A2"),
    S("HC=H+H3"),
    P("H3^2.=HC^2.*RH"),
    P("H4^2.=HCi^2.*RHi"),
    P("H5^2.=HCi^2.*RHr"),
    P("H5^3.=HCi^3.*RV"),
    S("K1=1+RH^(.5)"),
    S("K2=1+(-1.)*RH"),
    S("K1i=1+RHi^(.5)"),
    S("K2i=1+(-1.)*RHi"),
    S("K1r=1+RHr^(.5)"),
    S("K2r=1+(-1.)*RHr"),
    P("HC=H*K1/K2"),
    P("HCi=HR*K1i/K2i"),
    P("HCi=HL*K1r/K2r"),
    S("H=HL+H2+E1"),
    S("H=HR+E1+E2"),
    S("H2=H1+E2"),
    S("HR=HL+H1"),
    R(18, "EC=ES|A2"),
    S("H4=E2+H3+(-1.)*ES"),
    S("H5=H1+H4"),
    S("HCi=HR+H4"),
    S("HCi=HL+H5"),
    S("HC=HCi+E1+ES"),
    P("D=2.*R"),
    P("d=2.*r"),
    P("D1=2.*R1"),
    P("D2=2.*R2"),
    S("R=r+dR"),
    S("R1=R2+dRi"),
    R(18, "EC=EP|A1"),
    R(20, "R1=R|E1|A1|EP"),
    S("E2N=(-1.)*E2"),
    R(20, "R2=r|E2N|A1|EP"),
    S("L1=LC+L2"),
    // The slant heights of the whole cone and of the small one cut off.
    R(17, "R=L1|A1"),
    R(17, "r=L2|A1"),
    S("L1i=LCi+L2i"),
    P("SD=PI*R^2."),
    P("Sd=PI*r^2."),
    P("Sd=SD*RH"),
    P("SD1=PI*R1^2."),
    P("SD2=PI*R2^2."),
    P("SD2=SD1*RHi"),
    P("4.*SL=PI*L^2."),
    P("SL=SD1*RHr"),
    P("3.*V1=PI*R^2.*HC"),
    P("3.*V2=PI*r^2.*H3"),
    P("3.*VR1=PI*R1^2.*HCi"),
    P("3.*VR2=PI*R2^2.*H4"),
    P("12.*VV=PI*L^2.*H5"),
    S("V1=VC+V2"),
    S("VR1=VR+VR2"),
    S("VR1=VL+VV"),
    S("VC=V+VR"),
    P("VV=VR1*RV"),
    R(15, "VC=H|D|d"),
    R(15, "VR=HR|D1|D2"),
    R(15, "VL=HL|D1|L"),
    RightTri("dR|H|LC|A1|A2|St|xP"),
    RightTri("dRi|HR|LCi|A1|A2|Sti|xP"),
};
constexpr FigureStep kFigure43[] = {
    P("A=2.*AT1"),
    S("AD=AT1+AT2"),
    P("D=2.*R"),
    S("R=H1+H"),
    P("SC=PI*R*r"),
    P("(.5)*SS=PI*R*H"),
    S("S=SC+SS"),
    RightTri("r|H1|R|AT1|AT2|ST|xP"),
    P("1.5*V=PI*R^2.*H"),
    P("P=PI*D"),
};
constexpr FigureStep kFigure44[] = {
    P("A1=2.*AT11"),
    P("A2=2.*AT21"),
    S("AD=AT11+AT12"),
    S("AD=AT21+AT22"),
    P("D=2.*R"),
    S("H1=H2+H"),
    S("R=H1+H3"),
    S("R=H2+H4"),
    P("SB1=PI*R1^2."),
    P("SB2=PI*R2^2."),
    // A cap's curved surface is 2·pi·R·h with the sphere's radius R.
    P("(.5)*SC1=PI*R*H1"),
    P("(.5)*SC2=PI*R*H2"),
    S("SC1=SS+SC2"),
    S("S=SB1+SS+SB2"),
    RightTri("R1|H3|R|AT11|AT12|ST1|xP"),
    RightTri("R2|H4|R|AT21|AT22|ST2|xP"),
    S("K1=3.*R+(-1.)*H1"),
    P("3.*V1=PI*H1^2.*K1"),
    S("K2=3.*R+(-1.)*H2"),
    P("3.*V2=PI*H2^2.*K2"),
    S("V1=V+V2"),
    P("P=PI*D"),
};
constexpr FigureStep kFigure45[] = {
    P("D=2.*R"),
    P("(.25)*S=PI*R^2."),
    P("P=PI*D"),
    P("(.75)*V=PI*R^3."),
};
constexpr FigureStep kFigure46[] = {
    P("A=2.*AT1"),
    S("AD=AT1+AT2"),
    S("H=2.*H2"),
    S("R=H1+H2"),
    P("D=2.*R"),
    P("d=2.*r"),
    P("(.25)*SST=PI*R^2."),
    P("(.5)*SC=PI*r*R"),
    P("(.5)*SCS=PI*R*H1"),
    S("SS=SST+(-2.)*SCS"),
    S("S=SS+SC"),
    P("P=PI*D"),
    P("6.*VST=PI*D^3."),
    P("3.*VC=PI*r^2.*H"),
    R(17, "d=D|AT1"),
    R(18, "H=D|AT1"),
    R(16, "VCS=R|A"),
    S("V=VST+(-2.)*VCS+(-1.)*VC"),
    RightTri("r|H2|R|AT1|AT2|ST|xP"),
};
constexpr FigureStep kFigure47[] = {
    P("A=2.*AT1"),
    S("AD=AT1+AT2"),
    S("H=2.*H2"),
    S("R=H1+H2"),
    P("D=2.*R"),
    P("d=2.*r"),
    P("(.25)*SST=PI*R^2."),
    P("SC=PI*d*H"),
    P("(.5)*SCS=PI*R*H1"),
    S("SS=SST+(-2.)*SCS"),
    S("S=SS+SC"),
    P("P=PI*D"),
    P("6.*VST=PI*D^3."),
    P("VC=PI*r^2.*H"),
    R(17, "d=D|AT1"),
    R(18, "H=D|AT1"),
    R(16, "VCS=R|A"),
    S("V=VST+(-2.)*VCS+(-1.)*VC"),
    RightTri("r|H2|R|AT1|AT2|ST|xP"),
};
constexpr FigureStep kFigure48[] = {
    P("A=2.*A1"),
    S("AD=A1+A2"),
    P("d=2.*r"),
    P("D=2.*R"),
    S("H=2.*HT"),
    // The height between the two cuts plus the two caps makes the diameter.
    S("2.*R=H+2.*HS"),
    Seg("R|A|A1|A2|d|r|LS|HS|HT|SSS|SST|SSC"),
    P("SB=PI*r^2."),
    P("(.25)*S0=PI*R^2."),
    P("(.5)*SC=PI*R*HS"),
    S("S0=SS+2.*SC"),
    R(16, "VC=R|A"),
    P("(.75)*VS=PI*R^3."),
    S("VS=V+2.*VC"),
};
constexpr FigureStep kFigure49[] = {
    P("D1=2.*R1"),
    P("D2=2.*R2"),
    P("Dm=2.*Rm"),
    P("d=2.*R"),
    S("2.*Rm=R1+R2"),
    S("R2=R1+2.*R"),
    P("ST=PI*R^2."),
    P("(.25)*S=PI*1*PI*Rm*R"),
    P("(.5)*V=PI*1*PI*Rm*R^2."),
};
constexpr FigureStep kFigure50[] = {
    P("A=2.*A1"),
    S("AD=A1+A2"),
    S("HC=H+H2"),
    P("H2^2.=HC^2.*RH"),
    S("K1=1+RH^(.5)"),
    S("K2=1+(-1.)*RH"),
    P("HC=H*K1/K2"),
    P("D=2.*R"),
    P("d=2.*r"),
    S("S=ST+SC+SB"),
    P("ST=SB*RH"),
    P("SB=PI*R^2."),
    P("ST=PI*r^2."),
    P("SC1=PI*R*L1"),
    P("SC2=PI*r*L2"),
    S("SC1=SC+SC2"),
    S("L1=L+L2"),
    P("3.*V1=PI*R^2.*HC"),
    P("3.*V2=PI*r^2.*H2"),
    S("V1=V+V2"),
    R(15, "V=H|D|d"),
    RightTri("R|HC|L1|A1|A2|St1|xP"),
    RightTri("r|H2|L2|A1|A2|St2|xP"),
};
constexpr FigureStep kFigure51[] = {
    R(18, "R=RA|A"),
    P("D=2.*R"),
    R(19, "HP=R|A"),
    S("HL=H+HP"),
    S("H=HR+HP"),
    S("2.*HM=HL+HR"),
    P("SC=PI*D*HM"),
    P("SB1=PI*R^2."),
    P("SB2=PI*R*RA"),
    S("S=SB1+SC+SB2"),
    P("V=PI*R^2.*HM"),
    CopyKnown("HM|H"),
};
constexpr FigureStep kFigure52[] = {
    S("HP=H+HT"),
    P("ST=SB*RH"),
    P("HT^2.=HP^2.*RH"),
    S("K1=1+RH^(.5)"),
    S("K2=1+(-1.)*RH"),
    P("HP=H*K1/K2"),
    P("3.*VP=SB*HP"),
    P("3.*VT=ST*HT"),
    S("VP=V+VT"),
    R(13, "V=H|SB|ST"),
};

// clang-format on

using Steps = std::span<const FigureStep>;

// The plain lists, by figure number; figures 21 and 22 run theirs in parts
// around the equilateral test.
constexpr std::array<Steps, kFigureCount> kFigureLists = {
    Steps(kFigure0),  Steps(kFigure1),  Steps(kFigure2),  Steps(kFigure3),  Steps(kFigure4),
    Steps(kFigure5),  Steps(kFigure6),  Steps(kFigure7),  Steps(kFigure8),  Steps(kFigure9),
    Steps(kFigure10), Steps(kFigure11), Steps(kFigure12), Steps(kFigure13), Steps(kFigure14),
    Steps(kFigure15), Steps(kFigure16), Steps(kFigure17), Steps(kFigure18), Steps(kFigure19),
    Steps(kFigure20), Steps(kFigure21), Steps(kFigure22), Steps(kFigure23), Steps(kFigure24),
    Steps(kFigure25), Steps(kFigure26), Steps(kFigure27), Steps(kFigure28), Steps(kFigure29),
    Steps(kFigure30), Steps(kFigure31), Steps(kFigure32), Steps(kFigure33), Steps(kFigure34),
    Steps(kFigure35), Steps(kFigure36), Steps(kFigure37), Steps(kFigure38), Steps(kFigure39),
    Steps(kFigure40), Steps(kFigure41), Steps(kFigure42), Steps(kFigure43), Steps(kFigure44),
    Steps(kFigure45), Steps(kFigure46), Steps(kFigure47), Steps(kFigure48), Steps(kFigure49),
    Steps(kFigure50), Steps(kFigure51), Steps(kFigure52)};

// Splits "a|b|c" into at most N names.
template <size_t N>
std::array<std::string_view, N> splitNames(std::string_view text) {
  std::array<std::string_view, N> names{};
  size_t pos = 0;
  for (size_t i = 0; i < N && pos <= text.size(); ++i) {
    size_t end = text.find('|', pos);
    if (end == std::string_view::npos) end = text.size();
    names[i] = text.substr(pos, end - pos);
    pos = end + 1;
  }
  return names;
}

void runOrientation(GeoSolver& solver) {
  FigureData* data = solver.figureData();
  int local = kOrientationNone;
  int& answer = data != nullptr ? data->orientation : local;
  const int h = solver.lookupVariable("H");
  const int l2 = solver.lookupVariable("L2");
  const int ah = solver.lookupVariable("AH");
  const int a1 = solver.lookupVariable("A1");
  if (h < 0 || l2 < 0 || ah < 0 || a1 < 0) return;
  if (solver.isKnown(h) && solver.isKnown(l2) && solver.state(ah) == kUnknown &&
      solver.state(a1) == kUnknown && answer == kOrientationNone && solver.messenger() != nullptr) {
    MessageAnswer reply = ShowMessage(*solver.messenger(), kCaptionNote, 93, {}, MessageStyle::YesNo);
    answer = reply == MessageAnswer::Yes ? kOrientationRight : kOrientationLeft;
  }
  if (answer == kOrientationNone && solver.isKnown(ah)) {
    answer = solver.value(ah) >= 0.0 ? kOrientationRight : kOrientationLeft;
  }
  if (answer == kOrientationRight) {
    solver.evalRelation("H=L2|AHN", 18);
    solver.linkValues("AH", "AHN");
  } else if (answer == kOrientationLeft) {
    solver.evalRelation("H=L2|AHN", 18);
    solver.evalSum("AH=(-1.)*AHN");
  }
}

void runSteps(GeoSolver& solver, Steps steps);

void runStep(GeoSolver& solver, const FigureStep& step) {
  switch (step.op) {
    case StepOp::Sum:
      solver.evalSum(step.text);
      break;
    case StepOp::Product:
      solver.evalProduct(step.text);
      break;
    case StepOp::Relation:
      solver.evalRelation(step.text, step.type);
      break;
    case StepOp::Link: {
      auto n = splitNames<2>(step.text);
      solver.linkValues(n[0], n[1]);
      break;
    }
    case StepOp::Fixed:
      solver.setFixedValue(step.text, step.value);
      break;
    case StepOp::RightTriangle: {
      auto n = splitNames<7>(step.text);
      RightTriangle(solver, n[0], n[1], n[2], n[3], n[4], n[5], n[6]);
      break;
    }
    case StepOp::Triangle: {
      auto n = splitNames<8>(step.text);
      Triangle(solver, n[0], n[1], n[2], n[3], n[4], n[5], n[6], n[7]);
      break;
    }
    case StepOp::Sector: {
      auto n = splitNames<4>(step.text);
      Sector(solver, n[0], n[1], n[2], n[3]);
      break;
    }
    case StepOp::Segment: {
      auto n = splitNames<12>(step.text);
      Segment(solver, n[0], n[1], n[2], n[3], n[4], n[5], n[6], n[7], n[8], n[9], n[10], n[11]);
      break;
    }
    case StepOp::CyclicQuad:
      CyclicQuad(solver);
      break;
    case StepOp::Parabola:
      ParabolaSolver(solver, step.text);
      break;
    case StepOp::TriangleOnce:
      if (solver.nextFirstSweepArrival() == 1) TriangleSolver(solver, step.type);
      break;
    case StepOp::Orientation:
      runOrientation(solver);
      break;
    case StepOp::List:
      runSteps(solver, kFigureLists[static_cast<size_t>(step.type)]);
      break;
    case StepOp::CopyKnown: {
      auto n = splitNames<2>(step.text);
      int from = solver.lookupVariable(n[0]);
      int to = solver.lookupVariable(n[1]);
      if (solver.isKnown(from) && solver.state(to) == kUnknown) solver.assign(to, solver.value(from));
      break;
    }
  }
}

void runSteps(GeoSolver& solver, Steps steps) {
  for (const FigureStep& step : steps) runStep(solver, step);
}

// Both known and exactly equal.
bool equalKnown(GeoSolver& solver, std::string_view a, std::string_view b) {
  int i = solver.lookupVariable(a);
  int j = solver.lookupVariable(b);
  return solver.isKnown(i) && solver.isKnown(j) && solver.value(i) == solver.value(j);
}

bool equilateral21(GeoSolver& solver) {
  return equalKnown(solver, "A1", "A2") || equalKnown(solver, "L1", "L2") || equalKnown(solver, "H1", "H2") ||
         equalKnown(solver, "M1", "M2") || equalKnown(solver, "B1", "B2");
}

bool equilateral22(GeoSolver& solver) {
  for (const char* q : {"A", "L", "H", "M", "B"}) {
    std::string n1 = std::string(q) + "1", n2 = std::string(q) + "2", n3 = std::string(q) + "3";
    if (equalKnown(solver, n1, n2) && equalKnown(solver, n2, n3)) return true;
  }
  return false;
}

void runTriangleFigure(GeoSolver& solver, int figure) {
  const bool isosceles = figure == 21;
  runSteps(solver, isosceles ? Steps(kFigure21) : Steps(kFigure22));
  if (isosceles ? equilateral21(solver) : equilateral22(solver)) {
    runSteps(solver, isosceles ? Steps(kFigure21Equilateral) : Steps(kFigure22Equilateral));
  } else if (solver.nextFirstSweepArrival() == 1) {
    TriangleSolver(solver, figure);
  }
  runSteps(solver, isosceles ? Steps(kFigure21Common) : Steps(kFigure22Common));
}

void addNames(std::vector<std::string>& out, Steps steps);

void addSplit(std::vector<std::string>& out, std::string_view text) {
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find_first_of("=|", pos);
    if (end == std::string_view::npos) end = text.size();
    if (end > pos) out.emplace_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
}

void addNames(std::vector<std::string>& out, Steps steps) {
  for (const FigureStep& step : steps) {
    switch (step.op) {
      case StepOp::Sum:
      case StepOp::Product: {
        ParsedEquation eq;
        if (parseEquation(step.text, step.op == StepOp::Product, eq)) {
          for (int i = 0; i < eq.count; ++i) out.emplace_back(eq.terms[static_cast<size_t>(i)].name);
        }
        break;
      }
      case StepOp::Fixed:
        out.emplace_back(step.text);
        break;
      case StepOp::CyclicQuad:
        for (const char* n : {"R", "L1", "L2", "L3", "L4", "S1", "S2", "S3", "S4", "S"}) out.emplace_back(n);
        break;
      case StepOp::TriangleOnce:
        addSplit(out, triangleRotation(1));
        break;
      case StepOp::Orientation:
        for (const char* n : {"H", "L2", "AH", "A1", "AHN"}) out.emplace_back(n);
        break;
      case StepOp::List:
        addNames(out, kFigureLists[static_cast<size_t>(step.type)]);
        break;
      default:
        addSplit(out, step.text);
        break;
    }
  }
}

}  // namespace

void RunFigureList(GeoSolver& solver, int figure) {
  if (figure < 0 || figure >= kFigureCount) return;
  if (figure == 21 || figure == 22) {
    runTriangleFigure(solver, figure);
    return;
  }
  runSteps(solver, kFigureLists[static_cast<size_t>(figure)]);
}

std::vector<std::string> FigureListNames(int figure) {
  std::vector<std::string> names;
  if (figure < 0 || figure >= kFigureCount) return names;
  addNames(names, kFigureLists[static_cast<size_t>(figure)]);
  if (figure == 21 || figure == 22) {
    addNames(names, figure == 21 ? Steps(kFigure21Equilateral) : Steps(kFigure22Equilateral));
    addNames(names, figure == 21 ? Steps(kFigure21Common) : Steps(kFigure22Common));
    addSplit(names, triangleRotation(1));
  }
  static constexpr std::string_view kPredefined[] = {"1",    "AD",   "AP",  "xH",  "xL11", "xL12",
                                                     "xA11", "xA12", "xS2", "xS3", "xP"};
  std::erase_if(names, [](const std::string& n) {
    return std::find(std::begin(kPredefined), std::end(kPredefined), n) != std::end(kPredefined);
  });
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

}  // namespace qz
