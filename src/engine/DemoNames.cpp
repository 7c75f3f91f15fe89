// Name material of the demo university: people's names and the subject topics of each field.
#include "engine/DemoModel.h"

namespace dudodu::engine::demo {
namespace {

struct Syllable {
    const char* hanzi;
    const char* latin;
};

const Syllable kSurnames[] = {
    {"陳", "Chen"},  {"林", "Lin"},    {"黃", "Huang"}, {"張", "Chang"}, {"李", "Li"},   {"王", "Wang"},
    {"吳", "Wu"},    {"劉", "Liu"},    {"蔡", "Tsai"},  {"楊", "Yang"},  {"許", "Hsu"},  {"鄭", "Cheng"},
    {"謝", "Hsieh"}, {"郭", "Kuo"},    {"洪", "Hung"},  {"曾", "Tseng"}, {"邱", "Chiu"}, {"廖", "Liao"},
    {"賴", "Lai"},   {"周", "Chou"},   {"徐", "Hsu"},   {"蘇", "Su"},    {"葉", "Yeh"},  {"莊", "Chuang"},
    {"呂", "Lu"},    {"江", "Chiang"}, {"何", "Ho"},    {"蕭", "Hsiao"}, {"羅", "Lo"},   {"高", "Kao"},
    {"潘", "Pan"},   {"簡", "Chien"},  {"朱", "Chu"},   {"鍾", "Chung"}, {"彭", "Peng"}, {"游", "Yu"},
    {"詹", "Chan"},  {"胡", "Hu"},     {"施", "Shih"},  {"沈", "Shen"},  {"余", "Yu"},   {"盧", "Lu"},
    {"梁", "Liang"}, {"趙", "Chao"},   {"顏", "Yen"},   {"柯", "Ko"},    {"翁", "Weng"}, {"魏", "Wei"},
    {"孫", "Sun"},   {"戴", "Tai"},    {"范", "Fan"},   {"方", "Fang"},  {"宋", "Sung"}, {"鄧", "Teng"},
};

const Syllable kGiven[] = {
    {"志", "Chih"},  {"明", "Ming"},  {"俊", "Chun"},  {"宏", "Hung"},  {"家", "Chia"}, {"建", "Chien"},
    {"文", "Wen"},   {"信", "Hsin"},  {"德", "Te"},    {"華", "Hua"},   {"偉", "Wei"},  {"英", "Ying"},
    {"玉", "Yu"},    {"美", "Mei"},   {"淑", "Shu"},   {"惠", "Hui"},   {"麗", "Li"},   {"芳", "Fang"},
    {"雅", "Ya"},    {"婷", "Ting"},  {"怡", "Yi"},    {"君", "Chun"},  {"佳", "Chia"}, {"欣", "Hsin"},
    {"宗", "Tsung"}, {"哲", "Che"},   {"豪", "Hao"},   {"瑋", "Wei"},   {"冠", "Kuan"}, {"廷", "Ting"},
    {"承", "Cheng"}, {"翰", "Han"},   {"彥", "Yen"},   {"凱", "Kai"},   {"庭", "Ting"}, {"容", "Jung"},
    {"秀", "Hsiu"},  {"珍", "Chen"},  {"正", "Cheng"}, {"國", "Kuo"},   {"榮", "Jung"}, {"清", "Ching"},
    {"仁", "Jen"},   {"昌", "Chang"}, {"耀", "Yao"},   {"光", "Kuang"}, {"世", "Shih"}, {"育", "Yu"},
    {"慧", "Hui"},   {"琪", "Chi"},   {"如", "Ju"},    {"靜", "Ching"}, {"子", "Tzu"},  {"安", "An"},
    {"晴", "Ching"}, {"宇", "Yu"},    {"嘉", "Chia"},  {"維", "Wei"},   {"恩", "En"},   {"誠", "Cheng"},
};

// Subject topics by field; the order of the pools is the order of UnitKind-independent pool ids
// used by the unit table (DemoUnits.cpp).
const std::vector<Topic> kPools[] = {
    {// 0 literature and languages
     {"中國文學史", "History of Chinese Literature"},
     {"文字學", "Chinese Philology"},
     {"聲韻學", "Chinese Phonology"},
     {"訓詁學", "Chinese Exegetics"},
     {"詩選", "Selected Poems"},
     {"詞曲選", "Selected Ci and Qu"},
     {"現代小說", "Modern Fiction"},
     {"古典散文", "Classical Prose"},
     {"英國文學", "English Literature"},
     {"美國文學", "American Literature"},
     {"英語語言學", "English Linguistics"},
     {"翻譯理論", "Translation Theory"},
     {"比較文學", "Comparative Literature"},
     {"文學批評", "Literary Criticism"},
     {"語意學", "Semantics"},
     {"句法學", "Syntax"},
     {"臺灣文學", "Taiwanese Literature"},
     {"戲劇選讀", "Readings in Drama"}},
    {// 1 history and philosophy
     {"中國通史", "General History of China"},
     {"臺灣史", "History of Taiwan"},
     {"西洋上古史", "Ancient Western History"},
     {"史學方法", "Historical Methods"},
     {"近代史", "Modern History"},
     {"世界史", "World History"},
     {"史學史", "Historiography"},
     {"邏輯", "Logic"},
     {"倫理學", "Ethics"},
     {"知識論", "Epistemology"},
     {"形上學", "Metaphysics"},
     {"中國哲學史", "History of Chinese Philosophy"},
     {"西洋哲學史", "History of Western Philosophy"},
     {"美學", "Aesthetics"},
     {"心靈哲學", "Philosophy of Mind"},
     {"科學哲學", "Philosophy of Science"}},
    {// 2 mathematics and statistics
     {"微積分", "Calculus"},
     {"線性代數", "Linear Algebra"},
     {"高等微積分", "Advanced Calculus"},
     {"代數學", "Algebra"},
     {"幾何學", "Geometry"},
     {"機率論", "Probability Theory"},
     {"數理統計", "Mathematical Statistics"},
     {"數值分析", "Numerical Analysis"},
     {"微分方程", "Differential Equations"},
     {"複變函數論", "Complex Analysis"},
     {"拓樸學", "Topology"},
     {"實變函數論", "Real Analysis"},
     {"迴歸分析", "Regression Analysis"},
     {"抽樣調查", "Sampling Methods"},
     {"時間序列分析", "Time Series Analysis"},
     {"統計計算", "Statistical Computing"}},
    {// 3 physics and chemistry
     {"普通物理", "General Physics"},
     {"普通化學", "General Chemistry"},
     {"力學", "Mechanics"},
     {"電磁學", "Electromagnetism"},
     {"量子力學", "Quantum Mechanics"},
     {"熱物理", "Thermal Physics"},
     {"光學", "Optics"},
     {"固態物理", "Solid State Physics"},
     {"有機化學", "Organic Chemistry"},
     {"無機化學", "Inorganic Chemistry"},
     {"分析化學", "Analytical Chemistry"},
     {"物理化學", "Physical Chemistry"},
     {"天文物理", "Astrophysics"},
     {"宇宙學", "Cosmology"},
     {"計算物理", "Computational Physics"},
     {"高分子化學", "Polymer Chemistry"}},
    {// 4 engineering
     {"工程數學", "Engineering Mathematics"},
     {"靜力學", "Statics"},
     {"動力學", "Dynamics"},
     {"材料力學", "Mechanics of Materials"},
     {"熱力學", "Thermodynamics"},
     {"流體力學", "Fluid Mechanics"},
     {"結構學", "Structural Analysis"},
     {"土壤力學", "Soil Mechanics"},
     {"機械設計", "Machine Design"},
     {"控制系統", "Control Systems"},
     {"材料科學導論", "Introduction to Materials Science"},
     {"單元操作", "Unit Operations"},
     {"反應工程", "Reaction Engineering"},
     {"環境化學", "Environmental Chemistry"},
     {"測量學", "Surveying"},
     {"工程圖學", "Engineering Graphics"}},
    {// 5 electrical engineering and computer science
     {"程式設計", "Programming"},
     {"資料結構", "Data Structures"},
     {"演算法", "Algorithms"},
     {"計算機組織", "Computer Organization"},
     {"作業系統", "Operating Systems"},
     {"計算機網路", "Computer Networks"},
     {"資料庫系統", "Database Systems"},
     {"編譯器", "Compilers"},
     {"電路學", "Electric Circuits"},
     {"電子學", "Electronics"},
     {"信號與系統", "Signals and Systems"},
     {"數位邏輯設計", "Digital Logic Design"},
     {"通訊原理", "Principles of Communications"},
     {"機器學習", "Machine Learning"},
     {"人工智慧", "Artificial Intelligence"},
     {"電磁波", "Electromagnetic Waves"},
     {"積體電路設計", "Integrated Circuit Design"},
     {"軟體工程", "Software Engineering"}},
    {// 6 management and finance
     {"管理學", "Management"},
     {"會計學", "Accounting"},
     {"經濟學", "Economics"},
     {"行銷管理", "Marketing Management"},
     {"財務管理", "Financial Management"},
     {"組織行為", "Organizational Behavior"},
     {"人力資源管理", "Human Resource Management"},
     {"作業管理", "Operations Management"},
     {"成本會計", "Cost Accounting"},
     {"審計學", "Auditing"},
     {"投資學", "Investments"},
     {"衍生性金融商品", "Derivatives"},
     {"資訊管理", "Information Management"},
     {"企業倫理", "Business Ethics"},
     {"策略管理", "Strategic Management"},
     {"國際企業", "International Business"}},
    {// 7 social sciences
     {"個體經濟學", "Microeconomics"},
     {"總體經濟學", "Macroeconomics"},
     {"計量經濟學", "Econometrics"},
     {"政治學", "Political Science"},
     {"比較政府", "Comparative Government"},
     {"國際關係", "International Relations"},
     {"社會學", "Sociology"},
     {"社會研究法", "Social Research Methods"},
     {"社會心理學", "Social Psychology"},
     {"普通心理學", "General Psychology"},
     {"發展心理學", "Developmental Psychology"},
     {"認知心理學", "Cognitive Psychology"},
     {"社會工作概論", "Introduction to Social Work"},
     {"社會政策", "Social Policy"},
     {"公共行政", "Public Administration"},
     {"人類學", "Anthropology"}},
    {// 8 education
     {"教育概論", "Introduction to Education"},
     {"教育心理學", "Educational Psychology"},
     {"教育社會學", "Sociology of Education"},
     {"課程發展與設計", "Curriculum Development and Design"},
     {"班級經營", "Classroom Management"},
     {"教學原理", "Principles of Teaching"},
     {"教育測驗與評量", "Educational Testing and Assessment"},
     {"特殊教育導論", "Introduction to Special Education"},
     {"輔導原理", "Principles of Guidance"},
     {"教育行政", "Educational Administration"},
     {"幼兒發展", "Child Development"},
     {"運動生理學", "Exercise Physiology"},
     {"運動訓練法", "Sports Training"},
     {"教育研究法", "Educational Research Methods"},
     {"學習科學", "Learning Sciences"},
     {"教育政策分析", "Education Policy Analysis"}},
    {// 9 arts
     {"和聲學", "Harmony"},
     {"對位法", "Counterpoint"},
     {"西洋音樂史", "History of Western Music"},
     {"主修", "Major Instrument"},
     {"合唱", "Chorus"},
     {"管弦樂合奏", "Orchestra"},
     {"素描", "Drawing"},
     {"油畫", "Oil Painting"},
     {"水墨畫", "Ink Painting"},
     {"藝術史", "Art History"},
     {"設計基礎", "Design Fundamentals"},
     {"視覺傳達設計", "Visual Communication Design"},
     {"表演", "Acting"},
     {"劇場技術", "Theatre Technology"},
     {"藝術行政", "Arts Administration"},
     {"文化政策", "Cultural Policy"}},
    {// 10 life sciences
     {"普通生物學", "General Biology"},
     {"生物化學", "Biochemistry"},
     {"細胞生物學", "Cell Biology"},
     {"遺傳學", "Genetics"},
     {"分子生物學", "Molecular Biology"},
     {"微生物學", "Microbiology"},
     {"生理學", "Physiology"},
     {"生態學", "Ecology"},
     {"演化生物學", "Evolutionary Biology"},
     {"植物學", "Botany"},
     {"動物學", "Zoology"},
     {"營養學", "Nutrition"},
     {"食品化學", "Food Chemistry"},
     {"生物統計", "Biostatistics"},
     {"生物資訊", "Bioinformatics"},
     {"免疫學", "Immunology"}},
    {// 11 ocean sciences
     {"海洋學", "Oceanography"},
     {"物理海洋學", "Physical Oceanography"},
     {"海洋化學", "Marine Chemistry"},
     {"海洋生物學", "Marine Biology"},
     {"海洋地質學", "Marine Geology"},
     {"水產養殖學", "Aquaculture"},
     {"魚類學", "Ichthyology"},
     {"漁業資源", "Fishery Resources"},
     {"海洋法", "Law of the Sea"},
     {"航運管理", "Shipping Management"},
     {"港埠經營", "Port Management"},
     {"船舶原理", "Principles of Naval Architecture"},
     {"海洋工程", "Ocean Engineering"},
     {"海岸工程", "Coastal Engineering"},
     {"海洋政策", "Marine Policy"},
     {"物流管理", "Logistics Management"}},
    {// 12 general education
     {"哲學與人生", "Philosophy and Life"},
     {"藝術欣賞", "Art Appreciation"},
     {"音樂賞析", "Music Appreciation"},
     {"法律與生活", "Law and Everyday Life"},
     {"經濟與社會", "Economy and Society"},
     {"科學與文明", "Science and Civilization"},
     {"環境與永續", "Environment and Sustainability"},
     {"生命科學概論", "Introduction to Life Science"},
     {"資訊素養", "Information Literacy"},
     {"性別與社會", "Gender and Society"},
     {"臺灣歷史與文化", "Taiwanese History and Culture"},
     {"媒體識讀", "Media Literacy"},
     {"邏輯與思考", "Logic and Thinking"},
     {"宇宙探索", "Exploring the Universe"},
     {"食品安全與健康", "Food Safety and Health"},
     {"公民社會", "Civil Society"},
     {"創意思考", "Creative Thinking"},
     {"海洋文化", "Ocean Culture"}},
    {// 13 language centre
     {"大一英文", "Freshman English"},
     {"英語聽講", "English Listening and Speaking"},
     {"英文寫作", "English Writing"},
     {"英語簡報", "English Presentation"},
     {"學術英文", "Academic English"},
     {"日語", "Japanese"},
     {"韓語", "Korean"},
     {"法語", "French"},
     {"德語", "German"},
     {"西班牙語", "Spanish"},
     {"大一國文", "Freshman Chinese"},
     {"應用文寫作", "Practical Writing"}},
    {// 14 physical education
     {"體育", "Physical Education"},
     {"籃球", "Basketball"},
     {"排球", "Volleyball"},
     {"羽球", "Badminton"},
     {"桌球", "Table Tennis"},
     {"游泳", "Swimming"},
     {"網球", "Tennis"},
     {"瑜珈", "Yoga"},
     {"有氧運動", "Aerobics"},
     {"重量訓練", "Weight Training"},
     {"太極拳", "Tai Chi"},
     {"體適能", "Physical Fitness"}},
    {// 15 Chinese for foreign students
     {"華語聽說", "Chinese Listening and Speaking"},
     {"華語讀寫", "Chinese Reading and Writing"},
     {"華語會話", "Chinese Conversation"},
     {"漢字書寫", "Chinese Character Writing"},
     {"商用華語", "Business Chinese"},
     {"華語文法", "Chinese Grammar"},
     {"臺灣社會與文化", "Taiwanese Society and Culture"},
     {"華語正音", "Chinese Pronunciation"}},
    {// 16 teacher education
     {"教育哲學", "Philosophy of Education"},
     {"教學原理", "Principles of Teaching"},
     {"班級經營", "Classroom Management"},
     {"輔導原理與實務", "Guidance Principles and Practice"},
     {"教學實習", "Practicum in Teaching"},
     {"分科教材教法", "Subject Teaching Methods"},
     {"課程發展與設計", "Curriculum Development and Design"},
     {"教育議題專題", "Topics in Education Issues"},
     {"學習評量", "Learning Assessment"},
     {"數位教學", "Digital Teaching"},
     {"幼兒園教材教法", "Teaching Methods for Kindergarten"},
     {"國民小學數學教材教法", "Elementary Mathematics Teaching Methods"}},
    {// 17 liberal arts college
     {"經典閱讀", "Reading the Classics"},
     {"論語", "The Analects"},
     {"莊子", "Zhuangzi"},
     {"史記", "Records of the Grand Historian"},
     {"西方經典", "Western Classics"},
     {"人文講座", "Humanities Lectures"},
     {"書院專題", "Residential College Project"},
     {"服務學習", "Service Learning"},
     {"領導與溝通", "Leadership and Communication"},
     {"寫作與表達", "Writing and Expression"}},
};

} // namespace

const QString& universityName() {
    static const QString name = QStringLiteral("國立杜朵大學");
    return name;
}

const QString& demoPassword() {
    static const QString password = QStringLiteral("demo1234");
    return password;
}

QString personName(Rng& rng, QString* englishName) {
    const Syllable& family = kSurnames[rng.below(int(std::size(kSurnames)))];
    const Syllable& first = kGiven[rng.below(int(std::size(kGiven)))];
    const Syllable& second = kGiven[rng.below(int(std::size(kGiven)))];
    if (englishName) {
        *englishName = QStringLiteral("%1-%2 %3")
                           .arg(QLatin1String(first.latin), QLatin1String(second.latin).toString().toLower(),
                                QLatin1String(family.latin));
    }
    return QString::fromUtf8(family.hanzi) + QString::fromUtf8(first.hanzi) + QString::fromUtf8(second.hanzi);
}

const std::vector<Topic>& topicPool(int pool) {
    return kPools[pool];
}

int topicPoolCount() {
    return int(std::size(kPools));
}

} // namespace dudodu::engine::demo
